// The stroke font and the stroke-order store of the full data, through the
// glyph renderer: records of known characters, contours that add up to the
// whole glyph, and no pixel lost at the bitmap's edges.
#include "dictionary/Dictionary.h"
#include "stroke/glyph/GlyphRenderer.h"
#include "stroke/records/StrokeOrderFormat.h"
#include "stroke/records/StrokeOrderStore.h"

#include <QFile>
#include <gtest/gtest.h>

#include FT_BBOX_H
#include FT_OUTLINE_H

#include <memory>
#include <vector>

namespace quillory::stroke {
namespace {

QString DataFile(const char* name) {
    return QStringLiteral(QUILLORY_DATA_DIR "/") + QLatin1String(name);
}

int PixelCount(const MonoBitmap& bitmap) {
    int count = 0;
    for (int y = 0; y < bitmap.rows; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            count += bitmap.Get(x, y);
    return count;
}

// The font's characters, and an outline rendered again with other
// placement and size, for comparison with the renderer's bitmap.
class ReferenceRenderer {
public:
    ReferenceRenderer() {
        EXPECT_EQ(FT_Init_FreeType(&library_), 0);
        EXPECT_EQ(
            FT_New_Face(library_, QFile::encodeName(DataFile(kStrokeFontFileName)).constData(), 0, &face_),
            0);
        EXPECT_EQ(FT_Set_Pixel_Sizes(face_, 0, kMaxGlyphPixelSize), 0);
    }
    ~ReferenceRenderer() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    std::vector<std::uint32_t> Codes() const {
        std::vector<std::uint32_t> codes;
        FT_UInt index = 0;
        for (FT_ULong code = FT_Get_First_Char(face_, &index); index != 0;
             code = FT_Get_Next_Char(face_, code, &index))
            codes.push_back(std::uint32_t(code));
        return codes;
    }
    // The glyph placed by its exact box in the bitmap of the rendered load,
    // as the first design did: the pixels that fall outside, and the contours.
    int LostByExactBox(std::uint32_t code, int* contours) {
        constexpr int kMargin = 4;
        EXPECT_EQ(FT_Load_Char(face_, code, FT_LOAD_RENDER | FT_LOAD_MONOCHROME), 0);
        const int width = int(face_->glyph->bitmap.width), rows = int(face_->glyph->bitmap.rows);
        EXPECT_EQ(FT_Load_Char(face_, code, FT_LOAD_DEFAULT), 0);
        const FT_Outline& outline = face_->glyph->outline;
        *contours = outline.n_contours;
        FT_BBox box{};
        FT_Outline_Get_BBox(const_cast<FT_Outline*>(&outline), &box);
        const MonoBitmap tight = Render(outline, -box.xMin, -box.yMin, width, rows);
        const MonoBitmap roomy = Render(outline, kMargin * 64 - box.xMin, kMargin * 64 - box.yMin,
                                        width + 2 * kMargin, rows + 2 * kMargin);
        return PixelCount(roomy) - PixelCount(tight);
    }
    // The outline shifted by (dx, dy) in 26.6 pixels into a bitmap of the given size.
    MonoBitmap Render(const FT_Outline& source, FT_Pos dx, FT_Pos dy, int width, int rows) {
        MonoBitmap result;
        result.width = width;
        result.rows = rows;
        result.pitch = (width + 15) / 16 * 2;
        FT_Outline outline{};
        EXPECT_EQ(FT_Outline_New(library_, source.n_points, source.n_contours, &outline), 0);
        FT_Outline_Copy(&source, &outline);
        FT_Outline_Translate(&outline, dx, dy);
        FT_Bitmap target{};
        target.rows = unsigned(rows);
        target.width = unsigned(width);
        target.pitch = result.pitch;
        target.buffer = result.bits.data();
        target.num_grays = 2;
        target.pixel_mode = FT_PIXEL_MODE_MONO;
        EXPECT_EQ(FT_Outline_Get_Bitmap(library_, &outline, &target), 0);
        FT_Outline_Done(library_, &outline);
        return result;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

struct Shared {
    RecordingReporter reporter;
    Dictionary dictionary{QStringLiteral(QUILLORY_DATA_DIR), reporter};
    bool opened = dictionary.Open();
    StrokeOrderStore store{dictionary.index(), DataFile(kStrokeOrderFileName)};
    GlyphRenderer renderer{reporter};
    ReferenceRenderer reference;
};

class StrokeGlyphs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared_ = std::make_unique<Shared>();
        shared_->renderer.SetFontPaths(QFile::encodeName(DataFile(kStrokeFontFileName)), {});
    }
    static void TearDownTestSuite() { shared_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(shared_->opened) << shared_->reporter.messages.join(u'\n').toStdString();
        shared_->reporter.messages.clear();
    }
    GlyphRenderer& renderer() { return shared_->renderer; }
    QStringList& messages() { return shared_->reporter.messages; }

    static std::unique_ptr<Shared> shared_;
};
std::unique_ptr<Shared> StrokeGlyphs::shared_;

TEST_F(StrokeGlyphs, ZhongHasFourStrokesSweptDownAcrossAcrossDown) {
    StrokeOrderBytes record{};
    ASSERT_EQ(shared_->store.ReadRecord(0x4E2D, record), 4);
    EXPECT_EQ(StrokeCountOf(record, 4), 4);
    const std::uint8_t expected[] = {0, 0x01, 1, 0x00, 2, 0x00, 3, 0x01};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), record.begin()));
    ASSERT_TRUE(renderer().LoadGlyph(0x4E2D, kMaxGlyphPixelSize));
    EXPECT_EQ(renderer().ContourCount(), 4);
    // 鬱 U+9B31 has 29 strokes; a character outside the data has no record.
    EXPECT_EQ(shared_->store.ReadRecord(0x9B31, record), 29);
    EXPECT_EQ(shared_->store.ReadRecord(0x0041, record), 0);
    EXPECT_TRUE(messages().isEmpty());
}

// Every character of the font has a record of as many entries as its glyph
// has contours, and nearly always as many strokes as the dictionary counts
// (traditional forms of 艹 are drawn with 4 strokes, not 3). Placed by its exact box, as the first design did, the
// glyphs of some characters lose pixels at the bitmap's edges; the renderer
// keeps every pixel that its outline sets in a bitmap with room to spare.
TEST_F(StrokeGlyphs, EveryGlyphMatchesItsRecordAndKeepsItsEdgePixels) {
    constexpr int kMargin = 4;
    const std::vector<std::uint32_t> codes = shared_->reference.Codes();
    ASSERT_GT(codes.size(), 9500u);
    std::vector<std::uint32_t> clippedBefore, checked;
    StrokeOrderBytes record{};
    int compared = 0, agreeing = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        int contours = 0;
        if (shared_->reference.LostByExactBox(codes[i], &contours) > 0)
            clippedBefore.push_back(codes[i]);
        const int entries = shared_->store.ReadRecord(codes[i], record);
        EXPECT_EQ(entries, contours) << codes[i];
        const auto character = shared_->dictionary.records().characterRecord(codes[i]);
        if (character && !character->strokes.isEmpty()) {
            ++compared;
            agreeing += character->strokes.toInt() == StrokeCountOf(record, entries);
        }
        if (i % 97 == 0)
            checked.push_back(codes[i]);
    }
    EXPECT_GT(compared, 9000);
    EXPECT_GE(agreeing, compared * 97 / 100);
    EXPECT_FALSE(clippedBefore.empty());
    std::cout << clippedBefore.size() << " characters lose edge pixels when placed by their exact box\n";
    checked.insert(checked.end(), clippedBefore.begin(), clippedBefore.end());
    for (const std::uint32_t code : checked) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(renderer().LoadGlyph(code, kMaxGlyphPixelSize));
        const GlyphState& state = renderer().state();
        const MonoBitmap& glyph = renderer().contourBitmap();
        // The working outline as the whole-glyph rendering left it: shifted by the bitmap's origin.
        const MonoBitmap roomy = shared_->reference.Render(
            state.outline, kMargin * 64, kMargin * 64, glyph.width + 2 * kMargin, glyph.rows + 2 * kMargin);
        ASSERT_EQ(PixelCount(glyph), PixelCount(roomy));
        for (int y = 0; y < glyph.rows; ++y)
            for (int x = 0; x < glyph.width; ++x)
                ASSERT_EQ(glyph.Get(x, y), roomy.Get(x + kMargin, y + kMargin)) << x << "," << y;
    }
    EXPECT_TRUE(messages().isEmpty());
}

// The contours, rendered one by one where they lie in the whole glyph, add up to it exactly.
TEST_F(StrokeGlyphs, ContoursAddUpToTheWholeGlyph) {
    std::vector<std::uint32_t> codes = {0x4E2D, 0x6C38, 0x5B78, 0x9B31, 0x4E00, 0x4E28};
    const std::vector<std::uint32_t> all = shared_->reference.Codes();
    for (std::size_t i = 0; i < all.size(); i += 37)
        codes.push_back(all[i]);
    for (const std::uint32_t code : codes) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(renderer().LoadGlyph(code, kMaxGlyphPixelSize));
        const MonoBitmap whole = renderer().contourBitmap();
        MonoBitmap added;
        added.TakeGeometry(whole);
        for (int k = 0; k < renderer().ContourCount(); ++k) {
            ASSERT_TRUE(renderer().RenderContour(k));
            const MonoBitmap& contour = renderer().contourBitmap();
            EXPECT_GT(PixelCount(contour), 0) << "contour " << k;
            for (std::size_t b = 0; b < added.bits.size(); ++b) {
                ASSERT_EQ(contour.bits[b] & ~whole.bits[b], 0) << "contour " << k << " outside the glyph";
                added.bits[b] |= contour.bits[b];
            }
        }
        EXPECT_EQ(added.bits, whole.bits);
    }
}

TEST_F(StrokeGlyphs, PixelSizesLoadsAndFailures) {
    ASSERT_TRUE(renderer().LoadGlyph(0x6C38, kMaxGlyphPixelSize));
    const MonoBitmap at216 = renderer().contourBitmap();
    const InkBox ink = renderer().inkBox();
    EXPECT_GT(ink.right, 150);
    EXPECT_LE(ink.right, at216.width);
    EXPECT_LE(ink.bottom, at216.rows);
    for (const int size : {0, 300, -5}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(renderer().LoadGlyph(0x6C38, size));
        EXPECT_EQ(renderer().state().pixelSize, kMaxGlyphPixelSize);
        EXPECT_EQ(renderer().contourBitmap().bits, at216.bits);
    }
    ASSERT_TRUE(renderer().LoadGlyph(0x6C38, 40));
    EXPECT_LT(renderer().contourBitmap().rows, 41);

    // Out-of-range contours fail without a message; a valid one follows.
    ASSERT_TRUE(renderer().LoadGlyph(0x6C38, kMaxGlyphPixelSize));
    const int count = renderer().ContourCount();
    for (const int k : {count, count + 1, -2})
        EXPECT_FALSE(renderer().RenderContour(k)) << k;
    EXPECT_TRUE(renderer().RenderContour(count - 1));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(renderer().libraryCreations(), 1);

    // After ReleaseGlyph nothing renders; releasing twice is fine.
    EXPECT_TRUE(renderer().ReleaseGlyph());
    EXPECT_TRUE(renderer().ReleaseGlyph());
    EXPECT_FALSE(renderer().RenderContour(-1));
}

TEST_F(StrokeGlyphs, CharactersOutsideTheStrokeFont) {
    RecordingReporter reporter;
    GlyphRenderer renderer(reporter);
    const QByteArray font = QFile::encodeName(DataFile(kStrokeFontFileName));
    const QByteArray second = SystemCjkFontPath();
    // 丼 U+4E3C is drawn by Chinese fonts but has no stroke data.
    renderer.SetFontPaths(font, {});
    EXPECT_FALSE(renderer.LoadGlyph(0x4E3C, kMaxGlyphPixelSize));
    EXPECT_EQ(reporter.messages, QStringList{"The char cannot be found in the font face."});
    EXPECT_FALSE(renderer.LoadSecondFaceGlyph(0x4E3C, kMaxGlyphPixelSize));
    if (second.isEmpty())
        GTEST_SKIP() << "no Chinese font installed";
    reporter.messages.clear();
    renderer.SetFontPaths(font, second);
    EXPECT_FALSE(renderer.LoadGlyph(0x4E3C, kMaxGlyphPixelSize));
    ASSERT_TRUE(renderer.LoadSecondFaceGlyph(0x4E3C, kMaxGlyphPixelSize));
    EXPECT_EQ(renderer.ContourCount(), 0);
    EXPECT_FALSE(renderer.RenderContour(0));
    EXPECT_GT(PixelCount(renderer.contourBitmap()), 100);
    EXPECT_GT(renderer.inkBox().right, 100);
    // A code no font draws keeps the message.
    EXPECT_FALSE(renderer.LoadGlyph(0x10FFFD, kMaxGlyphPixelSize));
    EXPECT_EQ(reporter.messages, QStringList{"The char cannot be found in the font face."});

    reporter.messages.clear();
    renderer.SetFontPaths("/nonexistent/def.dat", second);
    EXPECT_FALSE(renderer.LoadGlyph(0x4E2D, kMaxGlyphPixelSize));
    EXPECT_EQ(reporter.messages, QStringList{"803: FT_New_Face failed (1)."});
    EXPECT_EQ(renderer.state().lastError, 1);
}

} // namespace
} // namespace quillory::stroke
