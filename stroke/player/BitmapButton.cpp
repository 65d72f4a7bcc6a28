#include "stroke/player/BitmapButton.h"

#include "stroke/player/PlayerImages.h"

#include <QPainter>

namespace quillory::stroke {
namespace {

constexpr int kPressedXor = 33;

QColor Highlight(const QColor& hover, bool pressed) {
    const int flip = pressed ? kPressedXor : 0;
    return QColor((255 - hover.red()) ^ flip, (255 - hover.green()) ^ flip, (255 - hover.blue()) ^ flip);
}

} // namespace

BitmapButton::BitmapButton(const QImage& background, const ButtonColours& colours, QWidget* parent)
    : QAbstractButton(parent), background_(background), colours_(colours) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BitmapButton::SetImage(int id) {
    mask_ = PlayerImage(id);
    imageId_ = id;
    resize(mask_.size());
    update();
}

QImage BitmapButton::Compose() const {
    QImage image(mask_.size(), QImage::Format_RGB32);
    const bool enabled = isEnabled();
    const QColor symbol = !enabled ? colours_.disabled : hovering_ ? colours_.hover : colours_.normal;
    const bool highlighted = hovering_ && enabled;
    const QRgb ground = Highlight(colours_.hover, isDown()).rgb();
    const QPoint origin = pos();
    for (int y = 0; y < mask_.height(); ++y) {
        for (int x = 0; x < mask_.width(); ++x) {
            QRgb pixel;
            if (mask_.pixelIndex(x, y) == 1) {
                pixel = symbol.rgb();
            } else if (highlighted) {
                pixel = ground;
            } else {
                const QPoint at = origin + QPoint(x, y);
                pixel = background_.valid(at) ? background_.pixel(at) : qRgb(255, 255, 255);
            }
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

void BitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Compose());
}

void BitmapButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hovering_ = true;
    update();
}

void BitmapButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hovering_ = false;
    update();
}

} // namespace quillory::stroke
