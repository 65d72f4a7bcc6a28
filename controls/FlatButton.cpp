#include "controls/FlatButton.h"

#include "controls/ButtonImages.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>

namespace quillory {
namespace {

const QColor kDefaultFace(0x3b, 0x42, 0x50);
const QColor kDefaultText(0xf2, 0xf2, 0xf2);
const QColor kDisabledInk(0x80, 0x80, 0x80);
constexpr int kPressedDarkening = 24;

QColor Lighter(const QColor& colour, int amount) {
    auto channel = [amount](int value) { return std::clamp(value + amount, 0, 255); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()), colour.alpha());
}

} // namespace

FlatButton::FlatButton(QWidget* parent)
    : QAbstractButton(parent), face_(kDefaultFace), textColour_(kDefaultText), opener_(DesktopUrlOpener()) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, &FlatButton::onClicked);
}

void FlatButton::setShade(int value, int state) {
    if (state >= 0 && state < kStateCount) {
        shades_[state] = std::clamp(value, 0, 255);
        update();
    }
}

int FlatButton::shade(int state) const {
    return state >= 0 && state < kStateCount ? shades_[state] : 0;
}

void FlatButton::setFaceColour(const QColor& colour) {
    face_ = colour;
    update();
}

QColor FlatButton::currentFaceColour() const {
    const int amount = shade(isChecked() ? 1 : 0);
    if (isDown()) {
        return Lighter(face_, -std::max(amount, kPressedDarkening));
    }
    return hovered_ && isEnabled() ? Lighter(face_, amount) : face_;
}

void FlatButton::setMasks(int normalId, int hoverId, const QColor& colour) {
    normalMask_ = normalId;
    hoverMask_ = hoverId;
    maskColour_ = colour;
    updateGeometry();
    update();
}

int FlatButton::currentMask() const {
    return hovered_ && hoverMask_ != 0 ? hoverMask_ : normalMask_;
}

void FlatButton::setPicture(const QPixmap& picture, const QColor& transparent) {
    picture_ = picture;
    if (!picture_.isNull() && transparent.isValid()) {
        picture_.setMask(picture_.createMaskFromColor(transparent, Qt::MaskInColor));
    }
    pictureIcon_ = QIcon();
    normalMask_ = hoverMask_ = 0;
    updateGeometry();
    update();
}

void FlatButton::setPicture(const QIcon& icon) {
    pictureIcon_ = icon;
    picture_ = QPixmap();
    normalMask_ = hoverMask_ = 0;
    updateGeometry();
    update();
}

void FlatButton::setTextColour(const QColor& colour) {
    textColour_ = colour;
    update();
}

QColor FlatButton::textColour() const {
    if (!isEnabled()) {
        return kDisabledInk;
    }
    return normalMask_ != 0 && maskColour_.isValid() ? maskColour_ : textColour_;
}

void FlatButton::setDropDownMenu(QMenu* menu) {
    disconnect(menuConnection_);
    menu_ = menu;
    if (menu) {
        menuConnection_ = connect(menu, &QMenu::triggered, this, &FlatButton::menuTriggered);
    }
}

QPoint FlatButton::menuPosition() const {
    return mapToGlobal(QPoint(0, height()));
}

void FlatButton::setAddress(const QString& address) {
    address_ = address;
}

void FlatButton::setUrlOpener(UrlOpener opener) {
    opener_ = std::move(opener);
}

void FlatButton::onClicked() {
    if (menu_) {
        menu_->popup(menuPosition());
    }
    if (!address_.trimmed().isEmpty() && opener_) {
        const QUrl url = AddressToUrl(address_);
        if (url.isValid()) {
            opener_(url);
        }
    }
}

QSize FlatButton::imageSize() const {
    if (normalMask_ != 0) {
        return ImageSize(currentMask()).expandedTo(ImageSize(normalMask_));
    }
    if (!picture_.isNull()) {
        return picture_.deviceIndependentSize().toSize();
    }
    if (!pictureIcon_.isNull()) {
        return iconSize();
    }
    return {};
}

QImage FlatButton::currentImage(qreal devicePixelRatio) const {
    if (normalMask_ != 0) {
        return TintMask(DrawImage(currentMask(), devicePixelRatio), isEnabled() ? maskColour_ : kDisabledInk);
    }
    if (!picture_.isNull()) {
        return picture_.toImage();
    }
    if (!pictureIcon_.isNull()) {
        return pictureIcon_
            .pixmap(iconSize(), devicePixelRatio, isEnabled() ? QIcon::Normal : QIcon::Disabled)
            .toImage();
    }
    return {};
}

QSize FlatButton::sizeHint() const {
    const QSize image = imageSize();
    int width = image.width();
    int height = image.height();
    if (!text().isEmpty()) {
        const QFontMetrics metrics(font());
        width += (width > 0 ? kGap : 0) + metrics.horizontalAdvance(text());
        height = std::max(height, metrics.height());
    }
    return QSize(width, height) + QSize(4 * kPadding, 2 * kPadding);
}

QSize FlatButton::minimumSizeHint() const {
    return imageSize().expandedTo(QSize(1, 1)) + QSize(2 * kPadding, 2 * kPadding);
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor face = currentFaceColour();
    painter.fillRect(rect(), face);

    // A thin edge shows the raised (pointer over) or pressed button.
    const QRect edge = rect().adjusted(0, 0, -1, -1);
    if (isDown() || isChecked()) {
        painter.setPen(Lighter(face, -40));
        painter.drawRect(edge);
    } else if (hovered_ && isEnabled()) {
        painter.setPen(Lighter(face, 40));
        painter.drawRect(edge);
    }

    QRect content = rect().adjusted(kPadding, kPadding, -kPadding, -kPadding);
    if (isDown()) {
        content.translate(1, 1);
    }
    const QImage image = currentImage(devicePixelRatioF());
    const QSize imageArea = image.isNull() ? QSize() : image.deviceIndependentSize().toSize();
    const QFontMetrics metrics(font());
    const int textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const int groupWidth =
        imageArea.width() + (textWidth > 0 && imageArea.width() > 0 ? kGap : 0) + textWidth;
    int x = content.left() + std::max(0, (content.width() - groupWidth) / 2);

    if (!image.isNull()) {
        const int y = content.top() + (content.height() - imageArea.height()) / 2;
        painter.drawImage(QRect(QPoint(x, y), imageArea), image);
        x += imageArea.width() + kGap;
    }
    if (textWidth > 0) {
        const QRect textArea(x, content.top(), std::max(0, content.right() - x + 1), content.height());
        painter.setPen(textColour());
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(text(), Qt::ElideRight, textArea.width()));
    }
    if (hasFocus()) {
        QPen focus(textColour(), 1, Qt::DotLine);
        painter.setPen(focus);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void FlatButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace quillory
