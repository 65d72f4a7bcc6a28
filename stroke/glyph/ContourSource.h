#pragma once
// What the stroke animation needs of the glyph renderer: single contours of
// the loaded glyph rendered into one shared contour bitmap.
#include "stroke/glyph/MonoBitmap.h"

namespace quillory::stroke {

class ContourSource {
public:
    virtual ~ContourSource() = default;
    // Renders contour k (or the whole glyph for k = -1) into the contour
    // bitmap, clearing it first; false for k outside -1 .. ContourCount() - 1.
    virtual bool RenderContour(int k) = 0;
    virtual int ContourCount() const = 0;
    // The animation clears pixels from it as it reveals them.
    virtual MonoBitmap& ContourBitmap() = 0;
};

} // namespace quillory::stroke
