#include "stroke/model/Segmentation.h"

#include "stroke/model/StrokeOrderRecord.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace quillory::stroke {
namespace {

// The "no pixels" segment: it starts past its own far edge, so a sweep
// finishes it at once.
SweepSegment EmptySegment(const MonoBitmap& bitmap, int direction = 0) {
    return {bitmap.width, bitmap.rows, 0, 0, direction};
}

// The bounding box of the set pixels inside `area` (clipped to the bitmap).
SweepSegment PixelBounds(const MonoBitmap& bitmap, const SweepSegment& area) {
    SweepSegment box = EmptySegment(bitmap, area.direction);
    const int top = std::max(area.y0, 0);
    const int bottom = std::min(area.y1, bitmap.rows - 1);
    const int left = std::max(area.x0, 0);
    const int right = std::min(area.x1, bitmap.width - 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (bitmap.Get(x, y)) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x);
                box.y1 = std::max(box.y1, y);
            }
        }
    }
    return box;
}

std::optional<int> NextSetColumn(const MonoBitmap& bitmap, int y, int from) {
    for (int x = std::max(from, 0); x < bitmap.width; ++x) {
        if (bitmap.Get(x, y))
            return x;
    }
    return std::nullopt;
}

std::optional<int> NextClearColumn(const MonoBitmap& bitmap, int y, int from) {
    for (int x = from; x < bitmap.width; ++x) {
        if (!bitmap.Get(x, y))
            return x;
    }
    return std::nullopt;
}

// Whether the part above the band joins its left leg: the first pixel of
// the row above the band lies nearer the left leg's first column than the
// right leg's. Without the three columns, the left leg.
bool JoinsLeftLeg(const MonoBitmap& contour, int top) {
    if (top < 1)
        return true;
    const std::optional<int> p1 = NextSetColumn(contour, top, 0);
    const std::optional<int> q = NextSetColumn(contour, top - 1, 0);
    if (!p1 || !q)
        return true;
    // The right leg begins after the gap that ends the left leg's run.
    const std::optional<int> gap = NextClearColumn(contour, top, *p1);
    const std::optional<int> p2 = gap ? NextSetColumn(contour, top, *gap) : std::nullopt;
    if (!p2)
        return true;
    return std::abs(*p1 - *q) < std::abs(*p2 - *q);
}

// The column just left of the rightmost leg, at its leftmost over the band.
int SplitColumn(const MonoBitmap& contour, const TwoLegBand& band, int right) {
    int split = contour.width;
    for (int y = band.top; y <= band.bottom; ++y) {
        bool seen = false;
        for (int x = right; x >= 0; --x) {
            if (contour.Get(x, y)) {
                seen = true;
            } else if (seen) {
                split = std::min(split, x);
                break;
            }
        }
    }
    return split;
}

// Three segments of a direction-0 contour are swept from left to right in
// order; the tallest of the later two, if taller than those before it, is
// swept downwards instead.
void OrderLeftToRight(SegmentList& list) {
    auto& s = list.items;
    for (int i = 0; i < 2; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (s[j].x0 < s[i].x0)
                std::swap(s[i], s[j]);
        }
    }
    const int h0 = s[0].y1 - s[0].y0;
    const int h1 = s[1].y1 - s[1].y0;
    const int h2 = s[2].y1 - s[2].y0;
    if (h2 > h1 && h2 > h0) {
        s[2].direction = kSweepTopToBottom;
    } else if (h1 > h0) {
        s[1].direction = kSweepTopToBottom;
    }
}

} // namespace

void ThinRows(MonoBitmap& bitmap) {
    for (int y = 0; y < bitmap.rows; ++y) {
        int x = 0;
        while (x < bitmap.width) {
            if (!bitmap.Get(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < bitmap.width && bitmap.Get(x, y))
                bitmap.Reset(x++, y);
            const int end = x - 1;
            bitmap.Set(start + (end - start) / 2, y);
        }
    }
}

TwoLegBand FindTwoLegBand(const MonoBitmap& thinned) {
    TwoLegBand band{0, 0, 0, thinned.width};
    for (int y = 0; y < thinned.rows; ++y) {
        const std::optional<int> first = NextSetColumn(thinned, y, 0);
        const std::optional<int> second = first ? NextSetColumn(thinned, y, *first + 1) : std::nullopt;
        if (second) {
            if (band.length == 0)
                band.top = y;
            band.bottom = y;
            ++band.length;
            band.minDistance = std::min(band.minDistance, *second - *first);
        } else if (band.exists()) {
            return band;
        } else {
            band = {0, 0, 0, thinned.width};
        }
    }
    return band;
}

SegmentList SegmentContour(const MonoBitmap& contour, MonoBitmap& scratch, std::uint8_t flags) {
    scratch = contour;
    ThinRows(scratch);
    const TwoLegBand band = FindTwoLegBand(scratch);

    SegmentList list;
    list.items.fill(EmptySegment(contour));
    const int d = (flags & kDirectionBits) % 6;
    const SweepSegment box = PixelBounds(contour, {0, 0, contour.width - 1, contour.rows - 1, d});
    list.items[0] = box;
    list.count = 1;
    if (!band.exists())
        return list;

    const bool left = JoinsLeftLeg(contour, band.top);
    const int split = SplitColumn(contour, band, box.x1);
    list.items[0] = {box.x0, box.y0, box.x1, band.top - 1, d};
    list.items[1] = left ? SweepSegment{box.x0, box.y0, split, box.y1, d}
                         : SweepSegment{split, box.y0, box.x1, box.y1, d};
    if (band.minDistance >= kWideLegDistance) {
        list.items[2] = {box.x0, band.top - 1, box.x1, box.y1, left ? kSweepLeftToRight : kSweepRightToLeft};
        list.items[3] = {box.x0, box.y0, box.x1, box.y1, kSweepBottomToTop};
        list.count = 4;
        return list;
    }
    list.items[2] = {box.x0, box.y0, box.x1, box.y1, kSweepBottomToTop};
    list.count = 3;
    for (int i = 0; i < 3; ++i)
        list.items[i] = PixelBounds(contour, list.items[i]);
    if (d == kSweepLeftToRight)
        OrderLeftToRight(list);
    return list;
}

} // namespace quillory::stroke
