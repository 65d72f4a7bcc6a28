#pragma once
// The state of the one loaded glyph: FreeType's objects, the geometry of the
// renderings, the contour bitmap, and the stroke-order fields the animation
// keeps beside them.
#include "stroke/glyph/MonoBitmap.h"
#include "stroke/model/StrokeOrderRecord.h"

#include <QString>
#include <array>
#include <cstdint>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

namespace quillory::stroke {

inline constexpr int kFontPathBytes = 256;

// Pixels of the whole-glyph rendering: left and top are 0, right and bottom
// one past the last column and row that hold a set pixel.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct GlyphState {
    std::uint32_t characterCode = 0;
    std::int32_t currentEntry = -1; // the animation's entry index; -1 after every load
    std::uint32_t borderPointCount = 0;
    std::uint32_t borderContourCount = 0; // contours of the exported outline
    StrokeOrderBytes record{};            // cleared at every load
    std::int32_t lastError = 0;           // FreeType error of the last failed call
    QString messageText;                  // the last error message
    std::int32_t pixelSize = kMaxGlyphPixelSize;
    FT_BBox outlineBox{}; // exact box of the glyph outline, 26.6 pixels
    InkBox inkBox;
    FT_Bitmap bitmap{}; // geometry of the renderings; buffer = contourBitmap.bits
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Glyph glyph = nullptr;
    FT_Stroker stroker = nullptr;
    FT_Outline outline{};     // the working outline, refilled before every rendering
    FT_Outline contourView{}; // one contour of the working outline; owns no memory
    FT_StrokerBorder border = FT_STROKER_BORDER_LEFT;
    std::array<char, kFontPathBytes> fontPath{};
    std::array<char, kFontPathBytes> secondFontPath{};
    MonoBitmap contourBitmap;
    std::int32_t strokeCount = 0; // the animation's; 0 after every load
    // Where the first (rendered) load put the bitmap's bottom left corner, in
    // 26.6 pixels: the outline is shifted by this, so each rendering lands in
    // the pixels of that bitmap.
    FT_Pos originX = 0;
    FT_Pos originY = 0;
};

} // namespace quillory::stroke
