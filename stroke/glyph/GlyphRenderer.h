#pragma once
// Loads a character's glyph from the stroke font (def.dat: one closed
// contour per stroke) with FreeType and renders the whole glyph or any one
// contour into the contour bitmap, all in one pixel grid, so that contours
// can be revealed one after another over the whole character.
//
// How the player uses it:
//   renderer.SetFontPaths(QFile::encodeName(dataFolder + "/def.dat"),
//                         SystemCjkFontPath());        // once
//   renderer.ReleaseGlyph();                           // before each new character
//   if (renderer.LoadGlyph(code, 216)) {
//       // contourBitmap() holds the whole glyph; ContourCount() contours can
//       // be rendered with RenderContour(k); state() holds the record fields.
//   } else if (renderer.LoadSecondFaceGlyph(code, 216)) {
//       // Not in the stroke font: contourBitmap() holds the character drawn
//       // from the second font, to be shown grey; ContourCount() is 0, so
//       // nothing animates. No message was shown.
//   } else {
//       // empty grid; LoadGlyph has reported why
//   }
// LoadGlyph reports "The char cannot be found in the font face." only when
// the second font lacks the character too. FreeType failures are reported
// as "%d: %s failed (%d)." with the call site's number.
#include "dictionary/text/MessageReporter.h"
#include "stroke/glyph/ContourSource.h"
#include "stroke/glyph/GlyphState.h"

#include <QByteArray>
#include <cstdint>

namespace quillory::stroke {

class GlyphRenderer final : public ContourSource {
public:
    explicit GlyphRenderer(MessageReporter& reporter);
    ~GlyphRenderer() override;
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    // Keeps the paths (at most 255 bytes each, in the file system's encoding):
    // the stroke font, and the font that draws characters the stroke font lacks.
    void SetFontPaths(const QByteArray& first, const QByteArray& second);

    // Loads the glyph at pixelSize (0 or above 216: 216) and leaves the whole
    // glyph in the contour bitmap. False after a reported failure, or without
    // a message when the character is missing but the second font has it.
    bool LoadGlyph(std::uint32_t code, int pixelSize);
    // k = -1: the whole glyph; 0 <= k < ContourCount(): contour k alone, where
    // it lies in the whole glyph. False without a message for any other k or
    // when no glyph is loaded.
    bool RenderContour(int k) override;
    // Frees the glyph and its working outline; true when none is held.
    bool ReleaseGlyph();

    // The whole glyph of a character from the second font in the contour
    // bitmap, with its geometry and ink box; no contours, no message. False
    // when that font cannot be opened or lacks the character.
    bool LoadSecondFaceGlyph(std::uint32_t code, int pixelSize);
    bool secondFaceHas(std::uint32_t code);

    int ContourCount() const override { return int(state_.borderContourCount); }
    MonoBitmap& ContourBitmap() override { return state_.contourBitmap; }
    const MonoBitmap& contourBitmap() const { return state_.contourBitmap; }
    GlyphState& state() { return state_; }
    const GlyphState& state() const { return state_; }
    const InkBox& inkBox() const { return state_.inkBox; }
    // How many times the FreeType library was created (once per renderer).
    int libraryCreations() const { return libraryCreations_; }

private:
    void Reset(std::uint32_t code, int pixelSize);
    bool Fail(int site, const char* call, FT_Error error);
    bool EnsureLibrary();
    bool LoadOutline(FT_UInt index);
    void TakeGeometry(const FT_Bitmap& rendered);
    void MeasureInk();
    bool OpenSecondFace();
    void ReleaseFaces();

    MessageReporter& reporter_;
    GlyphState state_;
    bool outlineReady_ = false; // the working outline exists and matches the stroker
    FT_Face secondFace_ = nullptr;
    int libraryCreations_ = 0;
};

// A Chinese font file of the system (from fontconfig), for characters the
// stroke font lacks; empty when there is none.
QByteArray SystemCjkFontPath();

} // namespace quillory::stroke
