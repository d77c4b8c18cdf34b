#include "ImageBackground.h"

void ImageBackground::showRect(gnRectangle& r) {
    const pt at = rectManip::position(r);
    rectManip::moveRect(r, -pos.x, -pos.y);
    if (frame.image)
        frame.image->display(r, at);  // no picture yet: nothing to redraw from
}
