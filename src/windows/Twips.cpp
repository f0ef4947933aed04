// SPDX-License-Identifier: MIT
#include "windows/Twips.h"

#include "windows/ScreenFont.h"

double Twips::layoutScale()
{
    return ScreenFont::current().layoutScale;
}
