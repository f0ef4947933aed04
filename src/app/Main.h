#pragma once

// The program's entry routine: detection window first, then the family window.
int Main();

// The names the user's settings are kept under (the save dialogs' folders).
void setProgramNames();
