#include "datagen/strokes/StrokeOutline.h"

#include <algorithm>
#include <cmath>

namespace quillory::datagen {

namespace {

struct Cubic {
    PointF p0, c1, c2, p3;
    PointF At(double t) const {
        const double u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        return {a * p0.x + b * c1.x + c * c2.x + d * p3.x, a * p0.y + b * c1.y + c * c2.y + d * p3.y};
    }
    PointF Derivative(double t) const {
        const double u = 1 - t;
        const double a = 3 * u * u, b = 6 * u * t, c = 3 * t * t;
        return {a * (c1.x - p0.x) + b * (c2.x - c1.x) + c * (p3.x - c2.x),
                a * (c1.y - p0.y) + b * (c2.y - c1.y) + c * (p3.y - c2.y)};
    }
};

// The path's points in order, on-curve or control, before rounding.
struct RawPoint {
    PointF at;
    bool onCurve = true;
};

class PathReader {
public:
    explicit PathReader(QStringView path) : path_(path) {}

    bool AtEnd() {
        SkipSeparators();
        return pos_ >= path_.size();
    }
    bool NextIsCommand() {
        SkipSeparators();
        return pos_ < path_.size() && path_[pos_].isLetter();
    }
    QChar Command() { return path_[pos_++]; }
    std::optional<double> Number() {
        SkipSeparators();
        const qsizetype start = pos_;
        while (pos_ < path_.size() && (path_[pos_].isDigit() || QStringView(u"+-.eE").contains(path_[pos_])))
            ++pos_;
        bool ok = false;
        const double value = path_.mid(start, pos_ - start).toDouble(&ok);
        return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }
    std::optional<PointF> Point() {
        const std::optional<double> x = Number();
        const std::optional<double> y = x ? Number() : std::nullopt;
        return y ? std::optional<PointF>(PointF{*x, *y}) : std::nullopt;
    }

private:
    void SkipSeparators() {
        while (pos_ < path_.size() && (path_[pos_].isSpace() || path_[pos_] == u','))
            ++pos_;
    }
    QStringView path_;
    qsizetype pos_ = 0;
};

// Reads the commands into raw points; false with the reason on a fault.
bool ReadPath(QStringView path, std::vector<RawPoint>& raw, QString* error) {
    PathReader reader(path);
    if (!reader.NextIsCommand() || reader.Command() != u'M') {
        *error = QStringLiteral("the path does not begin with M");
        return false;
    }
    std::optional<PointF> start = reader.Point();
    if (!start) {
        *error = QStringLiteral("M without a point");
        return false;
    }
    raw.push_back({*start, true});
    PointF current = *start;
    while (!reader.AtEnd()) {
        if (!reader.NextIsCommand()) {
            *error = QStringLiteral("a number where a command was expected");
            return false;
        }
        const QChar command = reader.Command();
        if (command == u'Z') {
            if (reader.AtEnd())
                return true;
            *error = QStringLiteral("more than one closed path");
            return false;
        }
        const int points = command == u'L' ? 1 : command == u'Q' ? 2 : command == u'C' ? 3 : 0;
        if (points == 0) {
            *error = QStringLiteral("unsupported path command %1").arg(command);
            return false;
        }
        PointF p[3];
        for (int i = 0; i < points; ++i) {
            const std::optional<PointF> point = reader.Point();
            if (!point) {
                *error = QStringLiteral("%1 without its %2 points").arg(command).arg(points);
                return false;
            }
            p[i] = *point;
        }
        if (points == 1) {
            raw.push_back({p[0], true});
        } else if (points == 2) {
            raw.push_back({p[0], false});
            raw.push_back({p[1], true});
        } else {
            for (const auto& [control, end] : CubicToQuadratics(current, p[0], p[1], p[2])) {
                raw.push_back({control, false});
                raw.push_back({end, true});
            }
        }
        current = p[points - 1];
    }
    return true; // an unclosed path is closed like a closed one
}

bool SamePlace(const ContourPoint& a, const ContourPoint& b) {
    return a.x == b.x && a.y == b.y;
}

// Keeps the shape while dropping a point that repeats its predecessor: a
// repeated control point or on-curve point goes; a control point followed by
// an on-curve point at its place is a straight line, so the control point goes.
void AddDroppingRepeats(Contour& kept, const ContourPoint& p) {
    if (!kept.empty() && SamePlace(kept.back(), p)) {
        if (p.onCurve && !kept.back().onCurve)
            kept.back() = p;
        return;
    }
    kept.push_back(p);
}

std::int16_t Round(double v) {
    return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

} // namespace

std::vector<std::pair<PointF, PointF>> CubicToQuadratics(PointF p0, PointF c1, PointF c2, PointF p3,
                                                         double tolerance) {
    const Cubic cubic{p0, c1, c2, p3};
    // The quadratic with control (3 (c1 + c2) - (p0 + p3)) / 4 lies within
    // sqrt(3) / 36 |p3 - 3 c2 + 3 c1 - p0| of its cubic; splitting into n
    // pieces divides that third difference by n^3.
    const double dx = p3.x - 3 * c2.x + 3 * c1.x - p0.x, dy = p3.y - 3 * c2.y + 3 * c1.y - p0.y;
    const double error = std::sqrt(3.0) / 36 * std::hypot(dx, dy);
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::cbrt(error / tolerance) - 1e-9)));
    std::vector<std::pair<PointF, PointF>> result;
    result.reserve(pieces);
    for (int i = 0; i < pieces; ++i) {
        const double a = double(i) / pieces, b = double(i + 1) / pieces, h = (b - a) / 3;
        const PointF q0 = cubic.At(a), q3 = cubic.At(b);
        const PointF d0 = cubic.Derivative(a), d3 = cubic.Derivative(b);
        const PointF q1{q0.x + h * d0.x, q0.y + h * d0.y}, q2{q3.x - h * d3.x, q3.y - h * d3.y};
        const PointF control{0.75 * (q1.x + q2.x) - 0.25 * (q0.x + q3.x),
                             0.75 * (q1.y + q2.y) - 0.25 * (q0.y + q3.y)};
        result.emplace_back(control, q3);
    }
    return result;
}

double SignedArea2(const Contour& contour) {
    double area = 0;
    for (std::size_t i = 0; i < contour.size(); ++i) {
        const ContourPoint& a = contour[i];
        const ContourPoint& b = contour[(i + 1) % contour.size()];
        area += double(a.x) * b.y - double(b.x) * a.y;
    }
    return area;
}

std::optional<Contour> ContourFromPath(QStringView path, QString* error) {
    std::vector<RawPoint> raw;
    if (!ReadPath(path, raw, error))
        return std::nullopt;
    Contour contour;
    for (const RawPoint& p : raw)
        AddDroppingRepeats(contour, {Round(p.at.x), Round(p.at.y), p.onCurve});
    // The contour closes by itself: the points at its end that repeat its
    // first point go (the first point is the path's M, on the curve).
    while (contour.size() > 1 && SamePlace(contour.back(), contour.front()))
        contour.pop_back();
    if (contour.size() < 3) {
        *error = QStringLiteral("the path has fewer than 3 distinct points");
        return std::nullopt;
    }
    // TrueType contours run clockwise; every contour the same way, or the
    // filled glyph gets holes where strokes overlap.
    if (SignedArea2(contour) > 0)
        std::reverse(contour.begin() + 1, contour.end());
    return contour;
}

} // namespace quillory::datagen
