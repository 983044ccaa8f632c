#include "ui/LogoScale.h"

#include "ui/resource.h"

int LogoBitmapForDpi(unsigned dpi) {
    struct Scale {
        unsigned dpi;
        int bitmap;
    };
    static constexpr Scale kLargestFirst[] = {{192, IDB_LOGO_200}, {144, IDB_LOGO_150}, {120, IDB_LOGO_125}};
    for (const Scale& scale : kLargestFirst) {
        if (dpi >= scale.dpi) {
            return scale.bitmap;
        }
    }
    return IDB_LOGO;
}
