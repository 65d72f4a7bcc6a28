#pragma once
// Text layout shared by the static labels: the alignment style of a label
// turned into Qt text flags, and the label's text drawn with them.
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace quillory {

enum class StaticTextStyle {
    Left,           // left aligned, wrapped at words
    Centre,         // centred, wrapped at words
    Right,          // right aligned, wrapped at words
    LeftNoWordWrap, // left aligned, one line per line break
    CentreImage,    // centred; a text without line breaks is also centred vertically on one line
};

// Qt alignment and text flags for a label's text in the given style; a text
// holding a tab also expands tabs.
int StaticTextFlags(StaticTextStyle style, const QString& text);

// Fills the widget with the button face colour, as every static label does.
void FillButtonFace(QPainter& painter, const QWidget& widget);

// Draws text centred vertically in rect; text that is not wrapped ends with
// an ellipsis when it does not fit.
void DrawStaticText(QPainter& painter, const QRect& rect, int flags, const QString& text);

} // namespace quillory
