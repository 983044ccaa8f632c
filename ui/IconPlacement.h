#pragma once
// Where a minimised window draws its icon.
#include "platform/Window.h"

struct IconOrigin {
    int x, y;
};

// The top-left corner of an icon of `iconWidth` x `iconHeight` centred in `client`, halves rounded
// up; in a client smaller than the icon the corner goes negative, truncated toward zero.
IconOrigin CentredIcon(const platform::Rect& client, int iconWidth, int iconHeight);
