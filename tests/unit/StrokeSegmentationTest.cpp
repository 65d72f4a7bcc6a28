// Cutting a contour into sweep segments, and sweeping them.
#include "stroke/model/SegmentSweep.h"
#include "stroke/model/Segmentation.h"
#include "tests/support/SyntheticGlyph.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace quillory::stroke;
using namespace quillory::testing;

namespace quillory::stroke {
// Failed comparisons show the segments' bounds and direction.
void PrintTo(const SweepSegment& s, std::ostream* out) {
    *out << "(" << s.x0 << "," << s.y0 << "," << s.x1 << "," << s.y1 << " d" << s.direction << ")";
}
} // namespace quillory::stroke

namespace {

std::vector<SweepSegment> Segments(const MonoBitmap& contour, std::uint8_t flags) {
    MonoBitmap scratch;
    const SegmentList list = SegmentContour(contour, scratch, flags);
    return {list.items.begin(), list.items.begin() + list.count};
}

struct SegmentationCase {
    std::string name;
    MonoBitmap contour;
    std::uint8_t flags;
    std::vector<SweepSegment> expected;
};

// Shapes in a 100 x 100 bitmap: a bar, and arches of a top part over two
// legs (thinned, each leg is one pixel per row; the band is where both are).
std::vector<SegmentationCase> SegmentationCases() {
    const MonoBitmap bar = DrawRects(100, 100, {{10, 40, 89, 49}});
    const auto closeLegs = [](int legBottom) {
        return DrawRects(100, 100, {{20, 20, 49, 29}, {20, 30, 27, legBottom}, {42, 30, 49, legBottom}});
    };
    return {
        {"bar", bar, 0x00, {{10, 40, 89, 49, 0}}},
        {"direction is flags mod 6", bar, 0x07, {{10, 40, 89, 49, 1}}},
        {"direction 10 is 4", bar, 0x0A, {{10, 40, 89, 49, 4}}},
        {"continuation bit ignored", bar, 0x82, {{10, 40, 89, 49, 2}}},
        {"empty contour", EmptyBitmap(100, 100), 0x01, {{100, 100, 0, 0, 1}}},
        {"legs of 9 rows are no band", closeLegs(38), 0x01, {{20, 20, 49, 38, 1}}},
        // Close legs: the top, the left leg with the top (it joins there),
        // then the rest upwards, each shrunk to its pixels.
        {"legs of 10 rows, close",
         closeLegs(39),
         0x01,
         {{20, 20, 49, 29, 1}, {20, 20, 41, 39, 1}, {20, 20, 49, 39, 3}}},
        {"close legs, direction 0: the taller later part goes down",
         closeLegs(39),
         0x00,
         {{20, 20, 49, 29, 0}, {20, 20, 41, 39, 1}, {20, 20, 49, 39, 3}}},
        {"short left leg, direction 0: the tallest last part goes down",
         DrawRects(100, 100, {{20, 20, 49, 29}, {20, 30, 27, 49}, {42, 30, 49, 69}}),
         0x00,
         {{20, 20, 49, 29, 0}, {20, 20, 41, 49, 0}, {20, 20, 49, 69, 1}}},
        // The top continues the right leg: that leg follows the top, and the
        // segments of a direction-0 contour are ordered by their left edge.
        {"joins the right leg, sorted by left edge",
         DrawRects(100, 100, {{42, 20, 49, 69}, {20, 30, 27, 69}}),
         0x00,
         {{20, 20, 49, 69, 3}, {42, 20, 49, 69, 0}, {42, 20, 49, 29, 0}}},
        // Far legs: four segments, not shrunk; the part below the top is
        // swept across from the leg the top joins.
        {"legs 70 apart",
         DrawRects(100, 100, {{10, 10, 89, 19}, {10, 20, 19, 69}, {80, 20, 89, 69}}),
         0x02,
         {{10, 10, 89, 19, 2}, {10, 10, 79, 69, 2}, {10, 19, 89, 69, 0}, {10, 10, 89, 69, 3}}},
        {"far legs joining the right one",
         DrawRects(100, 100, {{60, 10, 89, 19}, {10, 20, 19, 69}, {80, 20, 89, 69}}),
         0x01,
         {{10, 10, 89, 19, 1}, {79, 10, 89, 69, 1}, {10, 19, 89, 69, 2}, {10, 10, 89, 69, 3}}},
    };
}

TEST(SegmentationTest, CutsContoursIntoTheSegmentsOfTheirShape) {
    for (const SegmentationCase& c : SegmentationCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Segments(c.contour, c.flags), c.expected);
    }
}

TEST(SegmentationTest, BandIsTheFirstStretchOfTenTwoLegRowsElseTheLast) {
    // Thinned rows: two pixels 12 apart in rows 0-3 (too short), then rows
    // 10-21 (a band; rows 25-27 after it, 5 apart, do not join it).
    const auto legs = [](MonoBitmap& bitmap, std::initializer_list<int> rows, int left, int right) {
        for (int y : rows) {
            bitmap.Set(left, y);
            bitmap.Set(right, y);
        }
    };
    MonoBitmap thinned = EmptyBitmap(40, 40);
    legs(thinned, {0, 1, 2, 3, 10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21}, 3, 15);
    legs(thinned, {14}, 3, 16);
    legs(thinned, {25, 26, 27}, 3, 8);
    const TwoLegBand band = FindTwoLegBand(thinned);
    EXPECT_TRUE(band.exists());
    EXPECT_EQ(band.top, 10);
    EXPECT_EQ(band.bottom, 21);
    EXPECT_EQ(band.length, 12);
    EXPECT_EQ(band.minDistance, 12);
    // A stretch running to the last row is the result even when short.
    MonoBitmap tail = EmptyBitmap(40, 20);
    legs(tail, {17, 18, 19}, 0, 4);
    const TwoLegBand last = FindTwoLegBand(tail);
    EXPECT_FALSE(last.exists());
    EXPECT_EQ(last.top, 17);
    EXPECT_EQ(last.minDistance, 4);
}

// A contour of 120 lines with pixels, each followed by an empty line, in
// a segment over the whole bitmap.
struct SweepCase {
    int direction;
    int scanFactor;
    std::vector<int> linesPerStep;
};

TEST(SegmentSweepTest, OneStepRevealsAtMostTenLinesWithPixelsPerScanUnit) {
    const std::vector<SweepCase> cases = {
        {0, 1, std::vector<int>(12, 10)},
        {2, 1, std::vector<int>(12, 10)},
        {1, 1, std::vector<int>(12, 10)},
        {3, 1, std::vector<int>(12, 10)},
        {5, 1, std::vector<int>(12, 10)},
        {0, 11, {110, 10}},
        {3, 11, {110, 10}},
        {2, 2, {20, 20, 20, 20, 20, 20}},
    };
    for (const SweepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << c.direction << ", scan " << c.scanFactor);
        const bool byColumns = c.direction == 0 || c.direction == 2;
        MonoBitmap contour = byColumns ? EmptyBitmap(240, 20) : EmptyBitmap(20, 240);
        for (int line = 0; line < 240; line += 2) {
            if (byColumns)
                FillRect(contour, {line, 5, line, 9});
            else
                FillRect(contour, {5, line, 9, line});
        }
        MonoBitmap revealed = EmptyBitmap(contour.width, contour.rows);
        SegmentList list;
        list.items[0] = {0, 0, contour.width - 1, contour.rows - 1, c.direction};
        list.count = 1;
        SegmentSweep sweep;
        sweep.Load(list);
        sweep.StartSegment();
        std::vector<int> steps;
        int total = 0;
        for (sweep.FinishSegmentIfDone(); sweep.hasSegment(); sweep.FinishSegmentIfDone()) {
            const int lines = sweep.SweepStep(contour, revealed, c.scanFactor);
            total += lines;
            EXPECT_EQ(PixelCount(revealed), 5 * total);
            if (lines > 0)
                steps.push_back(lines);
        }
        EXPECT_EQ(steps, c.linesPerStep);
        EXPECT_EQ(PixelCount(contour), 0);
    }
}

TEST(SegmentSweepTest, EveryPixelOfASegmentIsRevealedWhenItFinishes) {
    // Pixels on all four edges of the segment and a hole inside it.
    const MonoBitmap shape = DrawRects(
        60, 50, {{10, 5, 12, 40}, {10, 5, 50, 6}, {48, 5, 50, 44}, {20, 44, 50, 44}, {30, 20, 31, 21}});
    for (int direction = 0; direction < 6; ++direction) {
        for (int scan : {1, 3}) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << ", scan " << scan);
            MonoBitmap contour = shape;
            MonoBitmap revealed = EmptyBitmap(60, 50);
            SegmentList list;
            list.items[0] = {10, 5, 50, 44, direction};
            list.items[1] = {0, 0, 0, 0, 0}; // a second segment to move on to
            list.count = 2;
            SegmentSweep sweep;
            sweep.Load(list);
            sweep.StartSegment();
            for (sweep.FinishSegmentIfDone(); sweep.currentSegment() == 0; sweep.FinishSegmentIfDone())
                sweep.SweepStep(contour, revealed, scan);
            EXPECT_TRUE(SamePixels(revealed, shape));
            EXPECT_EQ(PixelCount(contour), 0);
            EXPECT_EQ(sweep.currentSegment(), 1);
        }
    }
}

} // namespace
