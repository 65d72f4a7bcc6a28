// The stroke font writer on small synthetic input: stroke paths turned into
// TrueType contours, cubics into quadratics, and the font read back by FreeType.
#include "datagen/strokes/StrokeOutline.h"
#include "datagen/strokes/TrueTypeFont.h"
#include "stroke/glyph/GlyphRenderer.h"
#include "tests/support/TestFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SFNT_NAMES_H

#include <QString>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

PointF QuadraticAt(PointF p0, PointF c, PointF p1, double t) {
    const double u = 1 - t;
    return {u * u * p0.x + 2 * u * t * c.x + t * t * p1.x, u * u * p0.y + 2 * u * t * c.y + t * t * p1.y};
}

PointF CubicAt(PointF p0, PointF c1, PointF c2, PointF p3, double t) {
    const double u = 1 - t;
    return {u * u * u * p0.x + 3 * u * u * t * c1.x + 3 * u * t * t * c2.x + t * t * t * p3.x,
            u * u * u * p0.y + 3 * u * u * t * c1.y + 3 * u * t * t * c2.y + t * t * t * p3.y};
}

TEST(StrokeOutline, CubicsBecomeQuadraticsWithinHalfAUnit) {
    const struct {
        const char* what;
        PointF p0, c1, c2, p3;
        int maxPieces;
    } cases[] = {{"straight", {0, 0}, {100, 0}, {200, 0}, {300, 0}, 1},
                 {"gentle arc", {0, 0}, {30, 40}, {70, 40}, {100, 0}, 3},
                 {"S curve", {0, 0}, {400, 300}, {-200, 600}, {300, 900}, 20},
                 {"cusp", {0, 0}, {1000, 1000}, {0, 1000}, {1000, 0}, 20},
                 {"source stroke end", {267, 556}, {261, 585}, {259, 594}, {254, 596}, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto pieces = CubicToQuadratics(c.p0, c.c1, c.c2, c.p3);
        ASSERT_GE(pieces.size(), 1u);
        EXPECT_LE(int(pieces.size()), c.maxPieces);
        double worst = 0;
        PointF start = c.p0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const auto& [control, end] = pieces[i];
            for (int s = 0; s <= 64; ++s) {
                const double t = s / 64.0;
                const PointF q = QuadraticAt(start, control, end, t);
                const PointF k = CubicAt(c.p0, c.c1, c.c2, c.p3, (i + t) / pieces.size());
                worst = std::max(worst, std::hypot(q.x - k.x, q.y - k.y));
            }
            start = end;
        }
        EXPECT_LE(worst, kCubicTolerance);
        EXPECT_NEAR(start.x, c.p3.x, 1e-9);
        EXPECT_NEAR(start.y, c.p3.y, 1e-9);
    }
}

TEST(StrokeOutline, PathsBecomeClockwiseContoursWithoutRepeatedPoints) {
    const auto on = [](int x, int y) { return ContourPoint{std::int16_t(x), std::int16_t(y), true}; };
    const auto off = [](int x, int y) { return ContourPoint{std::int16_t(x), std::int16_t(y), false}; };
    const struct {
        const char* path;
        Contour expected;
    } cases[] = {
        // Counter-clockwise (y up) is reversed; the point that closes the path goes.
        {"M 0 0 L 100 0 L 100 100 L 0 100 L 0 0 Z", {on(0, 0), on(0, 100), on(100, 100), on(100, 0)}},
        // Already clockwise: kept as it is.
        {"M 0 0 L 0 100 L 100 100 L 100 0 Z", {on(0, 0), on(0, 100), on(100, 100), on(100, 0)}},
        // Rounding makes repeats: a repeated on-curve point and a control point on its end point go.
        {"M 0 0 L 0 100.4 L 0.2 100 Q 100 100 100 100 L 100 0 Z",
         {on(0, 0), on(0, 100), on(100, 100), on(100, 0)}},
        // A quadratic keeps its control point.
        {"M 0,0 L 0 100 Q 50 150 100 100 L 100 0 Z",
         {on(0, 0), on(0, 100), off(50, 150), on(100, 100), on(100, 0)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QString error;
        const std::optional<Contour> contour = ContourFromPath(QString::fromLatin1(c.path), &error);
        ASSERT_TRUE(contour) << error.toStdString();
        EXPECT_EQ(*contour, c.expected);
        EXPECT_LT(SignedArea2(*contour), 0);
    }
    for (const char* bad : {"", "L 0 0 L 1 1 Z", "M 0 0 l 10 10 L 0 10 Z", "M 0 0 L 10 Z",
                            "M 0 0 L 10 0 L 10 10 Z M 20 20 L 30 20 L 30 30 Z", "M 0 0 L 10 10 Z"}) {
        QString error;
        EXPECT_FALSE(ContourFromPath(QString::fromLatin1(bad), &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}

// A font of three glyphs read back by FreeType in font units.
class StrokeFontRead : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        const auto contour = [&](const char* path) {
            return ContourFromPath(QString::fromLatin1(path), &error).value();
        };
        glyphs_ = {{0x4E00, {contour("M 100 400 L 900 400 L 900 300 L 100 300 Z")}},
                   {0x4E01,
                    {contour("M 100 800 L 900 800 L 900 700 L 100 700 Z"),
                     contour("M 450 800 C 450 400 500 100 300 0 L 550 800 Z")}},
                   {0x20000, {contour("M 0 0 L 0 500 L 500 0 Z")}}};
        font_ = BuildTrueTypeFont(
            glyphs_,
            {QStringLiteral("Quillory Strokes"), QStringLiteral("test"), QStringLiteral("Version 1.000")},
            &error);
        ASSERT_FALSE(font_.isEmpty()) << error.toStdString();
        ASSERT_EQ(FT_Init_FreeType(&library_), 0);
        ASSERT_EQ(FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(font_.constData()),
                                     FT_Long(font_.size()), 0, &face_),
                  0);
    }
    void TearDown() override {
        if (face_)
            FT_Done_Face(face_);
        if (library_)
            FT_Done_FreeType(library_);
    }
    FT_Outline* Load(std::uint32_t code) {
        const FT_UInt index = FT_Get_Char_Index(face_, code);
        EXPECT_NE(index, 0u);
        EXPECT_EQ(FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE), 0);
        return &face_->glyph->outline;
    }

    std::vector<FontGlyph> glyphs_;
    QByteArray font_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

TEST_F(StrokeFontRead, EveryContourComesBackAsWrittenInOneDirection) {
    EXPECT_EQ(face_->num_glyphs, 4);
    EXPECT_EQ(face_->units_per_EM, kFontUnitsPerEm);
    EXPECT_EQ(face_->ascender, kFontAscent);
    EXPECT_EQ(face_->descender, kFontDescent);
    EXPECT_STREQ(face_->family_name, "Quillory Strokes");
    EXPECT_TRUE(FT_IS_SFNT(face_) && FT_IS_SCALABLE(face_));
    EXPECT_EQ(FT_Get_Char_Index(face_, 0x4E02), 0u); // not in the font
    for (const FontGlyph& glyph : glyphs_) {
        SCOPED_TRACE(glyph.code);
        const FT_Outline* outline = Load(glyph.code);
        EXPECT_EQ(face_->glyph->metrics.horiAdvance, kFontAdvance);
        ASSERT_EQ(outline->n_contours, int(glyph.contours.size()));
        EXPECT_EQ(FT_Outline_Get_Orientation(const_cast<FT_Outline*>(outline)), FT_ORIENTATION_TRUETYPE);
        int point = 0;
        for (int c = 0; c < outline->n_contours; ++c) {
            for (const ContourPoint& p : glyph.contours[c]) {
                EXPECT_EQ(outline->points[point].x, p.x);
                EXPECT_EQ(outline->points[point].y, p.y);
                EXPECT_EQ((outline->tags[point] & FT_CURVE_TAG_ON) != 0, p.onCurve);
                ++point;
            }
            EXPECT_EQ(outline->contours[c], point - 1);
        }
    }
}

// The renderer on a font of its own making: a glyph that touches no pixel
// loads with an ink box of 1 by 0.
TEST(StrokeFontRender, GlyphWithoutPixelsLoadsWithItsInkBoxAtTheOrigin) {
    QString error;
    const auto contour = [&](const char* path) {
        return ContourFromPath(QString::fromLatin1(path), &error).value();
    };
    const std::vector<FontGlyph> glyphs = {{0x4E00, {}},
                                           {0x4E01, {contour("M 100 100 L 100 800 L 800 100 Z")}}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("def.dat"));
    ASSERT_TRUE(testing::WriteFile(
        path, BuildTrueTypeFont(glyphs, {QStringLiteral("Quillory Strokes"), {}, {}}, &error)));
    RecordingReporter reporter;
    stroke::GlyphRenderer renderer(reporter);
    renderer.SetFontPaths(QFile::encodeName(path), {});
    ASSERT_TRUE(renderer.LoadGlyph(0x4E00, stroke::kMaxGlyphPixelSize));
    EXPECT_EQ(renderer.inkBox().right, 1);
    EXPECT_EQ(renderer.inkBox().bottom, 0);
    EXPECT_EQ(renderer.ContourCount(), 0);
    ASSERT_TRUE(renderer.LoadGlyph(0x4E01, stroke::kMaxGlyphPixelSize));
    EXPECT_GT(renderer.inkBox().right, 140);
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join(u'\n').toStdString();
}

TEST(TrueTypeFont, RefusesGlyphsOutOfCodeOrder) {
    QString error;
    const Contour triangle = {{0, 0, true}, {0, 10, true}, {10, 0, true}};
    EXPECT_TRUE(BuildTrueTypeFont({{0x4E01, {triangle}}, {0x4E00, {triangle}}}, {}, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace quillory::datagen
