#pragma once
// A static label that shows the interface text of its label id in the
// current interface language and that language's display font; without a
// text for its id it shows its own text in its own font.
#include "controls/StaticText.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace quillory {

struct LabelText {
    QString text;
    QFont font;
};

// Looks a label id up in the interface texts of the current language.
using LabelLookup = std::function<std::optional<LabelText>(std::uint32_t id)>;

class LanguageLabel : public QWidget {
    Q_OBJECT
public:
    explicit LanguageLabel(QWidget* parent = nullptr);

    // The label's own text, shown when its id has no interface text.
    void setText(const QString& text);
    QString text() const { return text_; }

    // The id whose interface text the label shows, asked at every paint so
    // that a repaint follows a change of the interface language.
    void setLabelId(std::uint32_t id, LabelLookup lookup);

    void setStyle(StaticTextStyle style);
    StaticTextStyle style() const { return style_; }

    // Stores the text colour and redraws.
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

    // The text and font the label paints now.
    LabelText shownText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor colour_{Qt::black};
    StaticTextStyle style_ = StaticTextStyle::Left;
    std::optional<std::uint32_t> labelId_;
    LabelLookup lookup_;
};

} // namespace quillory
