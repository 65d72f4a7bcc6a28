#include "controls/DialogLayout.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace quillory {

DialogUnits::DialogUnits(const QFont& font, double scale) {
    const QFontMetrics metrics(font);
    unitX_ = scale * metrics.averageCharWidth() / 4.0;
    unitY_ = scale * metrics.height() / 8.0;
}

void DialogLayout::Add(QWidget* widget, DialogRect rect, unsigned anchors) {
    entries_.push_back({widget, rect, anchors});
}

QSize DialogLayout::pixelSize(const QFont& font) const {
    return DialogUnits(font, scale_).size(size_.width(), size_.height());
}

QRect DialogLayout::place(const Entry& entry, const DialogUnits& units, QSize extra) const {
    QRect rect = units.rect(entry.rect);
    if (entry.anchors & kFollowRight) {
        rect.translate(extra.width(), 0);
    }
    if (entry.anchors & kFollowBottom) {
        rect.translate(0, extra.height());
    }
    if (entry.anchors & kGrowWidth) {
        rect.setWidth(rect.width() + extra.width());
    }
    if (entry.anchors & kGrowHeight) {
        rect.setHeight(rect.height() + extra.height());
    }
    const QSize hint = entry.anchors & (kFitHeight | kFitWidth) ? entry.widget->sizeHint() : QSize();
    if ((entry.anchors & kFitHeight) && hint.height() > rect.height()) {
        // Centred on the template's line, so a taller text is not pushed down.
        rect.adjust(0, -(hint.height() - rect.height()) / 2, 0, 0);
        rect.setHeight(hint.height());
    }
    if ((entry.anchors & kFitWidth) && hint.width() > rect.width()) {
        if (entry.anchors & kFollowRight) {
            rect.setLeft(rect.right() + 1 - hint.width());
        } else {
            rect.setWidth(hint.width());
        }
    }
    return rect;
}

void DialogLayout::Apply(const QFont& font, QSize windowSize) const {
    const DialogUnits units(font, scale_);
    const QSize extra = (windowSize - pixelSize(font)).expandedTo(QSize(0, 0));
    for (const Entry& entry : entries_) {
        entry.widget->setGeometry(place(entry, units, extra));
    }
}

} // namespace quillory
