#include "ui/IconPlacement.h"

IconOrigin CentredIcon(const platform::Rect& client, int iconWidth, int iconHeight) {
    return {(client.right - client.left - iconWidth + 1) / 2,
            (client.bottom - client.top - iconHeight + 1) / 2};
}
