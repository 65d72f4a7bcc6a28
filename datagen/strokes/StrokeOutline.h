#pragma once
// One stroke of the source data (a closed SVG path on the 1024 grid, y up)
// as one TrueType contour: quadratic curves only, integer coordinates,
// clockwise.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillory::datagen {

struct PointF {
    double x = 0;
    double y = 0;
};

struct ContourPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool onCurve = true;
    friend bool operator==(const ContourPoint&, const ContourPoint&) = default;
};
using Contour = std::vector<ContourPoint>;

// Largest distance the quadratics that replace a cubic may lie from it, in font units.
inline constexpr double kCubicTolerance = 0.5;

// Splits the cubic p0 c1 c2 p3 into equal parameter pieces, each replaced by
// one quadratic within the tolerance. Gives (control, end) per piece.
std::vector<std::pair<PointF, PointF>> CubicToQuadratics(PointF p0, PointF c1, PointF c2, PointF p3,
                                                         double tolerance = kCubicTolerance);

// Reads one path of absolute M, L, Q, C and Z commands; nullopt with the
// reason when the path is of another form or holds fewer than 3 points. The
// contour drops the closing point that repeats the first, rounds, drops
// repeated points and runs clockwise.
std::optional<Contour> ContourFromPath(QStringView path, QString* error);

// Twice the signed area of the polygon through the contour's points:
// positive for counter-clockwise (y up).
double SignedArea2(const Contour& contour);

} // namespace quillory::datagen
