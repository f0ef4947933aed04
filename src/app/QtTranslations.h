// SPDX-License-Identifier: MIT
#pragma once

class QLocale;

// Loads Qt's own translations for `locale` (the file dialog, the standard
// buttons of message boxes), where the system has them. The program's own
// texts stay as they are. Returns whether a translation was installed.
bool installQtTranslations(const QLocale &locale);
