#pragma once
// A push button drawn from a one-bit mask: the symbol in its colour (normal,
// hover or disabled), the rest showing the parent's saved background, or a
// highlight while the mouse is over it (255 minus the hover colour, each
// channel XOR 33 while pressed).
#include <QAbstractButton>
#include <QColor>
#include <QImage>

namespace quillory::stroke {

struct ButtonColours {
    QColor normal;
    QColor hover;
    QColor disabled;
};

class BitmapButton final : public QAbstractButton {
    Q_OBJECT
public:
    // background: the parent's saved background, read at the button's place.
    BitmapButton(const QImage& background, const ButtonColours& colours, QWidget* parent);

    // Takes the numbered mask and its size.
    void SetImage(int id);
    int imageId() const { return imageId_; }
    bool isHovering() const { return hovering_; }
    // The button's pixels as drawn now.
    QImage Compose() const;

    QSize sizeHint() const override { return mask_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage& background_;
    ButtonColours colours_;
    QImage mask_;
    int imageId_ = 0;
    bool hovering_ = false;
};

} // namespace quillory::stroke
