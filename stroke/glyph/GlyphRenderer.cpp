#include "stroke/glyph/GlyphRenderer.h"

#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstring>

namespace quillory::stroke {

namespace {

// Numbers of the call sites, shown in the failure messages.
enum CallSite {
    kSiteInitFreeType = 767,
    kSiteNewFace = 803,
    kSiteStrokerNew = 806,
    kSiteSetPixelSizes = 811,
    kSiteLoadRendered = 824,
    kSiteLoadOutline = 836,
    kSiteGetGlyph = 837,
    kSiteParseOutline = 840,
    kSiteGetBBox = 843,
    kSiteBorderCounts = 845,
    kSiteOutlineNew = 848,
    kSiteOutlineDone = 877,
    kSiteRenderGlyph = 895,
    kSiteRenderContour = 913,
};

constexpr FT_Int32 kLoadMonochromeRendered = FT_LOAD_RENDER | FT_LOAD_MONOCHROME; // 0x1004

void CopyPath(std::array<char, kFontPathBytes>& target, const QByteArray& path) {
    target.fill(0);
    std::memcpy(target.data(), path.constData(), std::min<std::size_t>(path.size(), kFontPathBytes - 1));
}

} // namespace

GlyphRenderer::GlyphRenderer(MessageReporter& reporter) : reporter_(reporter) {
    state_.bitmap.buffer = state_.contourBitmap.bits.data();
}

GlyphRenderer::~GlyphRenderer() {
    ReleaseGlyph();
    ReleaseFaces();
    if (secondFace_)
        FT_Done_Face(secondFace_);
    if (state_.library)
        FT_Done_FreeType(state_.library);
}

void GlyphRenderer::SetFontPaths(const QByteArray& first, const QByteArray& second) {
    CopyPath(state_.fontPath, first);
    CopyPath(state_.secondFontPath, second);
    if (secondFace_) { // opened again from the new path when needed
        FT_Done_Face(secondFace_);
        secondFace_ = nullptr;
    }
}

void GlyphRenderer::Reset(std::uint32_t code, int pixelSize) {
    state_.characterCode = 0;
    state_.currentEntry = -1;
    state_.borderPointCount = 0;
    state_.borderContourCount = 0;
    state_.lastError = 0;
    state_.messageText.clear();
    state_.inkBox = {};
    state_.contourBitmap.ClearAll();
    state_.record.fill(0);
    state_.strokeCount = 0;
    state_.pixelSize = pixelSize <= 0 || pixelSize > kMaxGlyphPixelSize ? kMaxGlyphPixelSize : pixelSize;
    state_.characterCode = code;
}

bool GlyphRenderer::Fail(int site, const char* call, FT_Error error) {
    state_.lastError = error;
    state_.messageText = QString::asprintf("%d: %s failed (%d).", site, call, int(error));
    reporter_.showMessage(state_.messageText);
    return false;
}

bool GlyphRenderer::EnsureLibrary() {
    if (state_.library)
        return true;
    if (const FT_Error error = FT_Init_FreeType(&state_.library)) {
        state_.library = nullptr;
        return Fail(kSiteInitFreeType, "FT_Init_FreeType", error);
    }
    ++libraryCreations_;
    return true;
}

void GlyphRenderer::ReleaseFaces() {
    if (state_.stroker) {
        FT_Stroker_Done(state_.stroker);
        state_.stroker = nullptr;
    }
    if (state_.face) {
        FT_Done_Face(state_.face);
        state_.face = nullptr;
    }
}

void GlyphRenderer::TakeGeometry(const FT_Bitmap& rendered) {
    FT_Bitmap& bitmap = state_.bitmap;
    bitmap.rows = rendered.rows;
    bitmap.width = rendered.width;
    bitmap.pitch = rendered.pitch;
    bitmap.num_grays = rendered.num_grays;
    bitmap.pixel_mode = rendered.pixel_mode;
    bitmap.palette_mode = rendered.palette_mode;
    bitmap.palette = nullptr;
    bitmap.buffer = state_.contourBitmap.bits.data();
    state_.contourBitmap.rows = int(rendered.rows);
    state_.contourBitmap.width = int(rendered.width);
    state_.contourBitmap.pitch = rendered.pitch;
    state_.contourBitmap.ClearAll();
}

bool GlyphRenderer::LoadGlyph(std::uint32_t code, int pixelSize) {
    // A glyph the caller did not release would leak with its outline.
    ReleaseGlyph();
    Reset(code, pixelSize);
    if (!EnsureLibrary())
        return false;
    ReleaseFaces();
    if (const FT_Error error = FT_New_Face(state_.library, state_.fontPath.data(), 0, &state_.face)) {
        state_.face = nullptr;
        return Fail(kSiteNewFace, "FT_New_Face", error);
    }
    if (const FT_Error error = FT_Stroker_New(state_.library, &state_.stroker)) {
        state_.stroker = nullptr;
        return Fail(kSiteStrokerNew, "FT_Stroker_New", error);
    }
    // Radius 0: the stroker only copies the outline into a form that can be
    // exported again and again, contour by contour.
    FT_Stroker_Set(state_.stroker, 0, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
    if (const FT_Error error = FT_Set_Pixel_Sizes(state_.face, 0, FT_UInt(state_.pixelSize)))
        return Fail(kSiteSetPixelSizes, "FT_Set_Pixel_Sizes", error);
    const FT_UInt index = FT_Get_Char_Index(state_.face, code);
    if (index == 0) {
        if (!secondFaceHas(code))
            reporter_.showMessage(QStringLiteral("The char cannot be found in the font face."));
        return false;
    }
    if (const FT_Error error = FT_Load_Glyph(state_.face, index, kLoadMonochromeRendered))
        return Fail(kSiteLoadRendered, "FT_Load_Glyph", error);
    // Only the rendered image's geometry is kept: its size, and where its
    // bottom left corner lies, so that the later renderings fill the same pixels.
    const FT_GlyphSlot slot = state_.face->glyph;
    const FT_Bitmap& rendered = slot->bitmap;
    if (rendered.pitch < 0 || std::size_t(rendered.rows) * std::size_t(rendered.pitch) > kMonoBitmapBytes)
        return Fail(kSiteLoadRendered, "FT_Load_Glyph", FT_Err_Raster_Overflow);
    TakeGeometry(rendered);
    state_.originX = FT_Pos(slot->bitmap_left) * 64;
    state_.originY = (FT_Pos(slot->bitmap_top) - FT_Pos(rendered.rows)) * 64;
    return LoadOutline(index);
}

bool GlyphRenderer::LoadOutline(FT_UInt index) {
    if (const FT_Error error = FT_Load_Glyph(state_.face, index, FT_LOAD_DEFAULT))
        return Fail(kSiteLoadOutline, "FT_Load_Glyph", error);
    if (const FT_Error error = FT_Get_Glyph(state_.face->glyph, &state_.glyph)) {
        state_.glyph = nullptr;
        return Fail(kSiteGetGlyph, "FT_Get_Glyph", error);
    }
    if (state_.glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return Fail(kSiteGetGlyph, "FT_Get_Glyph", FT_Err_Invalid_Glyph_Format);
    FT_Outline* outline = &reinterpret_cast<FT_OutlineGlyph>(state_.glyph)->outline;
    if (const FT_Error error = FT_Stroker_ParseOutline(state_.stroker, outline, 0))
        return Fail(kSiteParseOutline, "FT_Stroker_ParseOutline", error);
    if (const FT_Error error = FT_Outline_Get_BBox(outline, &state_.outlineBox))
        return Fail(kSiteGetBBox, "FT_Outline_Get_BBox", error);
    state_.border = FT_Outline_GetOutsideBorder(outline);
    FT_UInt points = 0, contours = 0;
    if (const FT_Error error = FT_Stroker_GetBorderCounts(state_.stroker, state_.border, &points, &contours))
        return Fail(kSiteBorderCounts, "FT_Stroker_GetBorderCounts", error);
    state_.borderPointCount = points;
    state_.borderContourCount = contours;
    if (const FT_Error error = FT_Outline_New(state_.library, points, FT_Int(contours), &state_.outline)) {
        state_.borderContourCount = 0;
        return Fail(kSiteOutlineNew, "FT_Outline_New", error);
    }
    outlineReady_ = true;

    state_.inkBox = {};
    if (RenderContour(-1))
        MeasureInk();
    return true; // also when that rendering failed: it has reported why
}

void GlyphRenderer::MeasureInk() {
    const MonoBitmap& bitmap = state_.contourBitmap;
    int lastColumn = 0, lastRow = -1;
    for (int y = 0; y < bitmap.rows; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            if (bitmap.Get(x, y)) {
                lastColumn = std::max(lastColumn, x);
                lastRow = y;
            }
    state_.inkBox = {0, 0, 1 + lastColumn, lastRow + 1};
}

bool GlyphRenderer::RenderContour(int k) {
    if (k < -1 || k >= int(state_.borderContourCount) || !outlineReady_)
        return false;
    FT_Outline& outline = state_.outline;
    outline.n_points = 0;
    outline.n_contours = 0;
    FT_Stroker_ExportBorder(state_.stroker, state_.border, &outline);
    FT_Outline_Translate(&outline, -state_.originX, -state_.originY);
    state_.contourBitmap.ClearAll();
    state_.bitmap.buffer = state_.contourBitmap.bits.data();
    if (k == -1) {
        if (const FT_Error error = FT_Outline_Get_Bitmap(state_.library, &outline, &state_.bitmap))
            return Fail(kSiteRenderGlyph, "FT_Outline_Get_Bitmap", error);
        return true;
    }
    // The view shares the working outline's arrays; its single contour ends
    // where contour k ends. Overwriting contours[k] is harmless: the next
    // rendering exports the outline afresh.
    using Index = std::remove_reference_t<decltype(outline.contours[0])>;
    const int first = k == 0 ? 0 : outline.contours[k - 1] + 1;
    const int count = outline.contours[k] - first + 1;
    FT_Outline& view = state_.contourView;
    view.n_contours = 1;
    view.n_points = decltype(view.n_points)(count);
    view.points = outline.points + first;
    view.tags = outline.tags + first;
    view.contours = outline.contours + k;
    view.flags = outline.flags;
    outline.contours[k] = Index(count - 1);
    if (const FT_Error error = FT_Outline_Get_Bitmap(state_.library, &view, &state_.bitmap))
        return Fail(kSiteRenderContour, "FT_Outline_Get_Bitmap", error);
    return true;
}

bool GlyphRenderer::ReleaseGlyph() {
    if (!state_.glyph)
        return true;
    if (outlineReady_) {
        if (const FT_Error error = FT_Outline_Done(state_.library, &state_.outline))
            return Fail(kSiteOutlineDone, "FT_Outline_Done", error);
        state_.outline = FT_Outline{};
        outlineReady_ = false;
    }
    FT_Done_Glyph(state_.glyph);
    state_.glyph = nullptr;
    return true;
}

} // namespace quillory::stroke
