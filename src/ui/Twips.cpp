// SPDX-License-Identifier: MIT
#include "ui/Twips.h"

#include "ui/ScreenFont.h"

double Twips::layoutScale()
{
    return ScreenFont::current().layoutScale;
}
