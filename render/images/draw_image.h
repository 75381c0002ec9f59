#pragma once
// Drawing a decoded image onto the page's graphics object.
#include "platform/gdiplus/canvas.h"
#include "render/images/image_item.h"

namespace vs {

// Draws the item's picture into the unit square of user space, through the
// whole world transform (rotation and skew included). The world transform
// maps user space, y pointing up, onto the canvas; the first image row lies
// along y = 1, at the top of an upright image. fill_alpha (0 to 1) makes
// the picture that transparent. The world transform is left as it was; an
// item without picture draws nothing.
void DrawImageItem(GpGraphics* graphics, const TqxPDFImageItem& item, double fill_alpha);
// The same for a picture already decoded, so that one decoded picture can be
// drawn any number of times.
void DrawPicture(GpGraphics* graphics, GpImage* picture, double fill_alpha);

}  // namespace vs
