#pragma once
// Cutting one contour's pixels into sweep segments. A contour with two legs
// side by side over at least 10 rows (a stroke that turns back on itself)
// is swept in three or four parts, so that each leg is revealed along its
// own course; any other contour is one segment over its bounding box.
#include "stroke/glyph/MonoBitmap.h"

#include <array>
#include <cstdint>

namespace quillory::stroke {

inline constexpr int kMaxSweepSegments = 10;
// Two-leg rows needed for a band, and the leg distance from which the part
// below the band is swept across as a segment of its own.
inline constexpr int kMinBandRows = 10;
inline constexpr int kWideLegDistance = 30;

// Inclusive pixel bounds in glyph-bitmap coordinates and a sweep direction
// (0 to 5, see SweepDirection).
struct SweepSegment {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    int direction = 0;

    bool operator==(const SweepSegment&) const = default;
};

struct SegmentList {
    std::array<SweepSegment, kMaxSweepSegments> items{};
    int count = 0;
};

// The band of rows whose thinned picture holds two or more pixels: its rows
// top..bottom, length and the smallest distance between its first two legs.
struct TwoLegBand {
    int length = 0;
    int top = 0;
    int bottom = 0;
    int minDistance = 0;

    bool exists() const { return length >= kMinBandRows; }
};

// Replaces every horizontal run of set pixels by its centre pixel.
void ThinRows(MonoBitmap& bitmap);
// The first stretch of two-leg rows of 10 or more, else the last stretch.
TwoLegBand FindTwoLegBand(const MonoBitmap& thinned);

// The segments of the contour in `contour`, whose entry has `flags`.
// `scratch` is working space; the contour itself is left unchanged.
SegmentList SegmentContour(const MonoBitmap& contour, MonoBitmap& scratch, std::uint8_t flags);

} // namespace quillory::stroke
