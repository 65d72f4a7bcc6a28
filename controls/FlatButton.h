#pragma once
// A flat picture button: a pair of mask images (normal and under the
// pointer) painted in one colour, or a picture, beside an optional text.
// Under the pointer the face lightens by the button's shade value. A button
// may drop a menu down below itself or open an address when clicked.
#include "controls/UrlOpener.h"

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <array>

namespace quillory {

class FlatButton : public QAbstractButton {
    Q_OBJECT
public:
    // Shade values are kept for two states: 0 unchecked, 1 checked.
    static constexpr int kStateCount = 2;
    // Room around the picture and text, and between them, in pixels.
    static constexpr int kPadding = 3;
    static constexpr int kGap = 4;

    explicit FlatButton(QWidget* parent = nullptr);

    // How much each colour channel of the face lightens under the pointer
    // (0 to 255) in the given state.
    void setShade(int value, int state = 0);
    int shade(int state = 0) const;

    void setFaceColour(const QColor& colour);
    QColor faceColour() const { return face_; }
    // The face as painted now: lightened under the pointer, darkened while pressed.
    QColor currentFaceColour() const;

    // Mask images by number (see ButtonImages.h), painted in colour; the
    // text takes the same colour.
    void setMasks(int normalId, int hoverId, const QColor& colour);
    int normalMask() const { return normalMask_; }
    int hoverMask() const { return hoverMask_; }
    // The mask painted now, or 0 without masks.
    int currentMask() const;
    QColor maskColour() const { return maskColour_; }

    // A picture whose pixels of the transparent colour are left out.
    void setPicture(const QPixmap& picture, const QColor& transparent);
    void setPicture(const QIcon& icon);

    // Text colour for a button without masks.
    void setTextColour(const QColor& colour);
    QColor textColour() const;

    // A menu shown below the button on every click; the caller keeps
    // ownership. The chosen action also arrives as menuTriggered.
    void setDropDownMenu(QMenu* menu);
    QMenu* dropDownMenu() const { return menu_; }
    // Global position of the menu's top left corner.
    QPoint menuPosition() const;

    // An address opened on every click.
    void setAddress(const QString& address);
    QString address() const { return address_; }
    void setUrlOpener(UrlOpener opener);

    bool isHovered() const { return hovered_; }
    // The picture's size beside the text; empty without one.
    QSize imageSize() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void menuTriggered(QAction* action);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void onClicked();
    QImage currentImage(qreal devicePixelRatio) const;

    std::array<int, kStateCount> shades_{};
    QColor face_;
    QColor textColour_;
    int normalMask_ = 0;
    int hoverMask_ = 0;
    QColor maskColour_;
    QPixmap picture_;
    QIcon pictureIcon_;
    QPointer<QMenu> menu_;
    QMetaObject::Connection menuConnection_;
    QString address_;
    UrlOpener opener_;
    bool hovered_ = false;
};

} // namespace quillory
