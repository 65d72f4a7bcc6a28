#include "controls/HyperlinkLabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quillory {
namespace {

const QColor kLinkColour(0, 0, 255);
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

} // namespace

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QWidget(parent), opener_(DesktopUrlOpener()) {
    setMouseTracking(true);
}

void HyperlinkLabel::setText(const QString& text) {
    if (text_ != text) {
        text_ = text;
        textChanged();
    }
}

void HyperlinkLabel::setAddress(const QString& address) {
    address_ = address;
}

void HyperlinkLabel::setValue(qint32 value) {
    value_ = value;
}

void HyperlinkLabel::setUrlOpener(UrlOpener opener) {
    opener_ = std::move(opener);
}

QFont HyperlinkLabel::linkFont() const {
    QFont underlined = font();
    underlined.setUnderline(true);
    return underlined;
}

QSize HyperlinkLabel::textExtent() const {
    if (!extent_.isValid()) {
        extent_ = QFontMetrics(linkFont()).size(Qt::TextSingleLine, text_);
    }
    return extent_;
}

QRect HyperlinkLabel::textRect() const {
    if (text_.isEmpty()) {
        return {};
    }
    const QSize extent = textExtent();
    QRect area(QPoint(0, (height() - extent.height()) / 2), extent);
    return area.intersected(rect());
}

void HyperlinkLabel::textChanged() {
    extent_ = QSize();
    updateGeometry();
    update();
}

bool HyperlinkLabel::Activate() {
    if (busy_) {
        return false;
    }
    busy_ = true;
    bool done = true;
    if (address_.trimmed().isEmpty()) {
        emit linkNotify(value_);
    } else {
        const QUrl url = AddressToUrl(address_);
        done = url.isValid() && opener_ && opener_(url);
    }
    busy_ = false;
    return done;
}

QSize HyperlinkLabel::sizeHint() const {
    return textExtent();
}

void HyperlinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(linkFont());
    painter.setPen(kLinkColour);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(rect(), kTextFlags, text_);
}

void HyperlinkLabel::mouseMoveEvent(QMouseEvent* event) {
    const bool overText = textRect().contains(event->position().toPoint());
    setCursor(overText ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event) {
    pressedOnText_ = event->button() == Qt::LeftButton && textRect().contains(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedOnText_ && event->button() == Qt::LeftButton &&
                       textRect().contains(event->position().toPoint());
    pressedOnText_ = false;
    if (click) {
        Activate();
    }
    QWidget::mouseReleaseEvent(event);
}

void HyperlinkLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        textChanged();
    }
    QWidget::changeEvent(event);
}

} // namespace quillory
