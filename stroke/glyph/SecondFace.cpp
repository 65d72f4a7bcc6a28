// The second font: characters the stroke font lacks are drawn whole from
// it, without contours and without messages.
#include "stroke/glyph/GlyphRenderer.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace quillory::stroke {

bool GlyphRenderer::OpenSecondFace() {
    if (secondFace_)
        return true;
    if (state_.secondFontPath[0] == '\0')
        return false;
    if (!state_.library) {
        if (FT_Init_FreeType(&state_.library) != 0) {
            state_.library = nullptr;
            return false;
        }
        ++libraryCreations_;
    }
    if (FT_New_Face(state_.library, state_.secondFontPath.data(), 0, &secondFace_) != 0) {
        secondFace_ = nullptr;
        return false;
    }
    return true;
}

bool GlyphRenderer::secondFaceHas(std::uint32_t code) {
    return OpenSecondFace() && FT_Get_Char_Index(secondFace_, code) != 0;
}

bool GlyphRenderer::LoadSecondFaceGlyph(std::uint32_t code, int pixelSize) {
    ReleaseGlyph();
    Reset(code, pixelSize);
    if (!secondFaceHas(code) || FT_Set_Pixel_Sizes(secondFace_, 0, FT_UInt(state_.pixelSize)) != 0 ||
        FT_Load_Char(secondFace_, code, FT_LOAD_RENDER | FT_LOAD_MONOCHROME) != 0)
        return false;
    const FT_Bitmap& rendered = secondFace_->glyph->bitmap;
    if (rendered.pixel_mode != FT_PIXEL_MODE_MONO || rendered.pitch < 0 ||
        std::size_t(rendered.rows) * std::size_t(rendered.pitch) > kMonoBitmapBytes)
        return false;
    TakeGeometry(rendered);
    if (rendered.buffer)
        std::copy_n(rendered.buffer, std::size_t(rendered.rows) * rendered.pitch,
                    state_.contourBitmap.bits.begin());
    MeasureInk();
    return true;
}

QByteArray SystemCjkFontPath() {
    if (!FcInit())
        return {};
    const auto pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>(
        FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn")), &FcPatternDestroy);
    if (!pattern)
        return {};
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const auto match = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>(
        FcFontMatch(nullptr, pattern.get(), &result), &FcPatternDestroy);
    FcChar8* file = nullptr;
    FcCharSet* chars = nullptr;
    // Fontconfig falls back to any font; only one that draws 中 will do.
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
        FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &chars) != FcResultMatch ||
        !FcCharSetHasChar(chars, 0x4E2D))
        return {};
    return QByteArray(reinterpret_cast<const char*>(file));
}

} // namespace quillory::stroke
