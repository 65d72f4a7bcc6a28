#pragma once
// The Converter (dialog 226): two text boxes, each with its choice of text
// kind, and two arrows that convert the upper box's text into the lower box
// and back. Conversions run on a worker thread, so a long text never
// freezes the window; the arrows wait until the result is in its box.
#include "controls/DialogLayout.h"
#include "controls/LanguageLabel.h"
#include "dictionary/text/MessageReporter.h"
#include "settings/ControlIds.h"
#include "settings/FontSlot.h"
#include "tools/convert/TextConverter.h"

#include <QFont>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QPlainTextEdit;
class QRadioButton;
class QThread;

namespace quillory {

class FlatButton;

enum class ConverterBox { Upper = 0, Lower = 1 };

struct ConverterEnvironment {
    QString recordStorePath;                   // the record store the readings come from
    LabelLookup labels;                        // interface texts in the current language
    std::function<QFont(FontSlot)> fonts;      // the display fonts
    MessageReporter* reporter = nullptr;       // failures the user must see
    std::function<QString(TextKind)> saveFile; // the file to save into; empty: cancelled
};

class ConverterWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ConverterWindow(ConverterEnvironment environment, QWidget* parent = nullptr);
    ~ConverterWindow() override;

    // Labels and fonts again, in the current interface language.
    void Relabel();
    // The arrows: the other box's text converted into this one's kind.
    void ConvertDown();
    void ConvertUp();
    void ChooseKind(ConverterBox box, TextKind kind);
    void ClearBox(ConverterBox box);
    void CopyBox(ConverterBox box);
    void SaveBox(ConverterBox box);

    TextKind kind(ConverterBox box) const { return kinds_[index(box)]; }
    ChineseVariant variant(ConverterBox box) const;
    bool isConverting() const { return worker_ != nullptr; }
    QPlainTextEdit* textBox(ConverterBox box) const { return boxes_[index(box)]; }
    QRadioButton* kindButton(ConverterBox box, TextKind kind) const;
    QComboBox* variantChoice(ConverterBox box) const { return variants_[index(box)]; }
    // The arrows, Clear, Copy, Save and Hide by control id.
    QAbstractButton* button(ControlId id) const;

signals:
    // A conversion's result is in its box (or its failure was reported).
    void conversionFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    static std::size_t index(ConverterBox box) { return static_cast<std::size_t>(box); }
    void CreateControls();
    FlatButton* AddButton(ControlId id, DialogRect rect);
    void Place(ControlId id, QAbstractButton* button, DialogRect rect);
    void UpdateArrowsAndTitle();
    void Convert(ConverterBox source, ConverterBox target);
    void ApplyKindFont(ConverterBox box);
    void LabelButton(QAbstractButton* button, ControlId id, const QString& fallback);

    ConverterEnvironment env_;
    std::shared_ptr<TextConverter> converter_;
    DialogLayout layout_;
    std::array<QPlainTextEdit*, 2> boxes_{};
    std::array<QButtonGroup*, 2> kindGroups_{};
    std::array<QComboBox*, 2> variants_{};
    std::array<TextKind, 2> kinds_{TextKind::GB, TextKind::Html};
    std::array<FlatButton*, 2> arrows_{}; // down, up
    std::vector<std::pair<ControlId, QAbstractButton*>> buttons_;
    QThread* worker_ = nullptr;
};

} // namespace quillory
