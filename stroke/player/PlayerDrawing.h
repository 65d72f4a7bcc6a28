#pragma once
// The stroke player's drawing: the handwriting grid, the stroke count in
// two seven-segment digits, the two ten-tick gauges and the glyph bitmaps.
#include "stroke/glyph/MonoBitmap.h"

#include <QPoint>
#include <QRgb>

class QImage;
class QPainter;

namespace quillory::stroke {

// Fills the image (the player's size) with the background: white, the grid
// (frame, diagonals, centre lines) and the stroke count.
void PaintBackground(QImage& image, int strokeCount);
// One seven-segment digit at origin: 0-9, 10 a minus sign, 11 blank; other
// values draw nothing.
void DrawDigit(QPainter& painter, QPoint origin, int value);
// Ticks 1 to lit in red, the rest of the ten grey.
void DrawGauge(QPainter& painter, QPoint origin, int lit);
// Every set pixel of bitmap, pixel (0, 0) at offset, in colour.
void DrawGlyphBitmap(QPainter& painter, QPoint offset, const MonoBitmap& bitmap, QRgb colour);

} // namespace quillory::stroke
