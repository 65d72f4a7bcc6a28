#include "controls/LanguageLabel.h"

#include <QPainter>

namespace quillory {

LanguageLabel::LanguageLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LanguageLabel::setText(const QString& text) {
    if (text_ != text) {
        text_ = text;
        updateGeometry();
        update();
    }
}

void LanguageLabel::setLabelId(std::uint32_t id, LabelLookup lookup) {
    labelId_ = id;
    lookup_ = std::move(lookup);
    updateGeometry();
    update();
}

void LanguageLabel::setStyle(StaticTextStyle style) {
    style_ = style;
    update();
}

void LanguageLabel::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

LabelText LanguageLabel::shownText() const {
    if (labelId_ && lookup_) {
        if (std::optional<LabelText> found = lookup_(*labelId_)) {
            return *found;
        }
    }
    return LabelText{text_, font()};
}

QSize LanguageLabel::sizeHint() const {
    const LabelText shown = shownText();
    const QFontMetrics metrics(shown.font);
    return metrics.size(0, shown.text) + QSize(2, 0);
}

void LanguageLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRect(rect());
    FillButtonFace(painter, *this);
    const LabelText shown = shownText();
    painter.setFont(shown.font);
    painter.setPen(colour_);
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawStaticText(painter, rect().translated(1, 0), StaticTextFlags(style_, shown.text), shown.text);
}

} // namespace quillory
