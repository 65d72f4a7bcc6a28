#pragma once
// A label whose text is a link: blue, underlined, with a hand cursor over
// the text. A click on the text opens the address, or, for a label without
// an address, tells the parent through linkNotify.
#include "controls/UrlOpener.h"

#include <QString>
#include <QWidget>

namespace quillory {

class HyperlinkLabel : public QWidget {
    Q_OBJECT
public:
    explicit HyperlinkLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }

    void setAddress(const QString& address);
    QString address() const { return address_; }

    // Passed along by linkNotify when the label has no address.
    void setValue(qint32 value);
    qint32 value() const { return value_; }

    void setUrlOpener(UrlOpener opener);

    // The rectangle the text occupies; only clicks inside it count.
    QRect textRect() const;

    // What a click on the text does. Returns false when the address could
    // not be opened, or when a click is already being handled.
    bool Activate();

    QSize sizeHint() const override;

signals:
    // A click on a label without an address; the parent decides what it means.
    void linkNotify(qint32 value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont linkFont() const;
    QSize textExtent() const;
    void textChanged();

    QString text_;
    QString address_;
    qint32 value_ = 0;
    UrlOpener opener_;
    mutable QSize extent_; // measured on first use, again after a text or font change
    bool pressedOnText_ = false;
    bool busy_ = false;
};

} // namespace quillory
