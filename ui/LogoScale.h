#pragma once
// Which logo picture suits the window's DPI, and the frame it fills.
#include "platform/Window.h"

// The logo control's place in the dialog template, in dialog units.
inline constexpr platform::Rect kLogoFrame{5, 5, 5 + 126, 5 + 33};

// The logo drawn for the largest scale (100, 125, 150 or 200 %) not above `dpi`, the one nearest
// the frame's size without being drawn larger; IDB_LOGO itself up to 119 DPI.
int LogoBitmapForDpi(unsigned dpi);
