#include "controls/StaticText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QWidget>

namespace quillory {

int StaticTextFlags(StaticTextStyle style, const QString& text) {
    int flags = 0;
    switch (style) {
    case StaticTextStyle::Centre:
        flags = Qt::AlignHCenter | Qt::TextWordWrap;
        break;
    case StaticTextStyle::Right:
        flags = Qt::AlignRight | Qt::TextWordWrap;
        break;
    case StaticTextStyle::LeftNoWordWrap:
        flags = Qt::AlignLeft;
        break;
    case StaticTextStyle::CentreImage:
        flags = Qt::AlignHCenter;
        if (!text.contains(u'\n') && !text.contains(u'\r')) {
            flags |= Qt::AlignVCenter | Qt::TextSingleLine;
        }
        break;
    case StaticTextStyle::Left:
        flags = Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    if (text.contains(u'\t')) {
        flags |= Qt::TextExpandTabs;
    }
    return flags;
}

void FillButtonFace(QPainter& painter, const QWidget& widget) {
    painter.fillRect(widget.rect(), widget.palette().button());
}

void DrawStaticText(QPainter& painter, const QRect& rect, int flags, const QString& text) {
    flags |= Qt::AlignVCenter;
    if (flags & Qt::TextWordWrap) {
        painter.drawText(rect, flags, text);
        return;
    }
    // Unwrapped lines that run past the right edge end with an ellipsis.
    const QFontMetrics metrics = painter.fontMetrics();
    const QString normalised = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = normalised.split(u'\n');
    if (flags & Qt::TextSingleLine) {
        lines = QStringList{lines.join(u' ')};
    }
    for (QString& line : lines) {
        line = metrics.elidedText(line, Qt::ElideRight, rect.width(), flags & Qt::TextExpandTabs);
    }
    painter.drawText(rect, flags, lines.join(u'\n'));
}

} // namespace quillory
