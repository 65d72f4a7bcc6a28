#include "stroke/player/PlayerDrawing.h"

#include "stroke/model/PlayerSettings.h"
#include "stroke/player/PlayerLayout.h"

#include <QImage>
#include <QPainter>
#include <array>
#include <cstdint>

namespace quillory::stroke {
namespace {

using namespace player_layout;

// Segment bits of the digits 0-9, a minus sign and blank.
constexpr std::array<std::uint8_t, 12> kDigitMasks = {0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B,
                                                      0x7B, 0x25, 0x7F, 0x6F, 0x08, 0x00};

struct SegmentLine {
    QPoint from;
    QPoint to;
};
// Top, upper left, upper right, middle, lower left, lower right, bottom.
constexpr std::array<SegmentLine, 7> kSegments = {{
    {{1, 0}, {6, 0}},
    {{0, 1}, {0, 6}},
    {{8, 1}, {8, 6}},
    {{1, 7}, {6, 7}},
    {{0, 8}, {0, 13}},
    {{8, 8}, {8, 13}},
    {{1, 14}, {6, 14}},
}};

} // namespace

void DrawDigit(QPainter& painter, QPoint origin, int value) {
    if (value < 0 || value >= static_cast<int>(kDigitMasks.size()))
        return;
    for (int k = 0; k < 7; ++k) {
        if (kDigitMasks[value] & (1 << k))
            painter.drawLine(origin + kSegments[k].from, origin + kSegments[k].to);
    }
}

void PaintBackground(QImage& image, int strokeCount) {
    image.fill(kBackground);
    QPainter painter(&image);
    const int w = kWidth - 1;
    const int h = kHeight - 1;
    painter.setPen(QPen(QColor(kGrid), 1));
    painter.drawPolyline(QPolygon({QPoint(1, 1), QPoint(w, 1), QPoint(w, h), QPoint(1, h), QPoint(1, 1)}));
    painter.drawLine(1, 1, w, h);
    painter.drawLine(1, h, w, 1);
    painter.drawLine(kWidth / 2, 1, kWidth / 2, h);
    painter.drawLine(1, kHeight / 2, w, kHeight / 2);
    painter.setPen(QPen(QColor(kDigits), 2, Qt::SolidLine, Qt::SquareCap));
    DrawDigit(painter, kTensDigit, strokeCount / 10);
    DrawDigit(painter, kOnesDigit, strokeCount % 10);
}

void DrawGauge(QPainter& painter, QPoint origin, int lit) {
    for (int i = 1; i <= kGaugeTicks; ++i) {
        painter.fillRect(origin.x() + kTickSpacing * i, origin.y(), kTickWidth, kTickHeight,
                         QColor(i <= lit ? kGaugeLit : kGaugeUnlit));
    }
}

void DrawGlyphBitmap(QPainter& painter, QPoint offset, const MonoBitmap& bitmap, QRgb colour) {
    if (bitmap.rows <= 0 || bitmap.width <= 0 || bitmap.rows * bitmap.pitch > kMonoBitmapBytes)
        return;
    // The bitmap's rows are a 1-bit image as they stand: clear pixels
    // transparent, set pixels in the colour.
    QImage image(bitmap.bits.data(), bitmap.width, bitmap.rows, bitmap.pitch, QImage::Format_Mono);
    image.setColorTable({qRgba(0, 0, 0, 0), colour | 0xFF000000u});
    painter.drawImage(offset, image);
}

} // namespace quillory::stroke
