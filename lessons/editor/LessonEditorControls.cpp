// The Lesson Editor's controls, laid out from the template in dialog units
// (385 by 273), and the texts they take in each interface language.
#include "controls/FlatButton.h"
#include "lessons/editor/LessonEditor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillory {
namespace {

// One text row: its field, its label, the label's HTML-mode twin, the top
// edge, the field's display font and the row's small buttons.
struct TextRow {
    ControlId field;
    ControlId label;
    ControlId titleLabel;
    const char* labelText;
    const char* titleText;
    int top;
    FontSlot font;
    QColor colour;
    std::vector<std::pair<ControlId, const char*>> buttons;
};

const std::vector<TextRow>& TextRows() {
    static const std::vector<TextRow> rows = {
        {kLessonJiantiField,
         kStaticJianti,
         kStaticJiantiTitle,
         "Jianti",
         "Biaoti",
         58,
         FontSlot::Jianti,
         QColor(0, 128, 0),
         {{kButtonJiantiFromFanti, "\u7b80"}}},
        {kLessonFantiField,
         kStaticFanti,
         kStaticFantiTitle,
         "Fanti",
         "Biaoti",
         92,
         FontSlot::Fanti,
         QColor(0, 0, 255),
         {{kButtonFantiFromJianti, "\u7e41"}}},
        {kLessonPinyinField,
         kStaticPinyin,
         kStaticPinyinTitle,
         "Pin1yin1",
         "Biao1ti2",
         126,
         FontSlot::Pinyin,
         Qt::black,
         {{kButtonPinyinFromJianti, "\u7b80"}, {kButtonPinyinFromFanti, "\u7e41"}, {kButtonSpeakPinyin, ""}}},
        {kLessonJyutpingField,
         kStaticJyutping,
         kStaticJyutpingTitle,
         "Jyut6 ping1",
         "Biu1tai4",
         160,
         FontSlot::English,
         Qt::black,
         {{kButtonJyutpingFromJianti, "\u7b80"},
          {kButtonJyutpingFromFanti, "\u7e41"},
          {kButtonSpeakJyutping, ""}}},
        {kLessonEnglishField,
         kStaticEnglish,
         kStaticEnglishTitle,
         "English",
         "Title",
         194,
         FontSlot::English,
         Qt::black,
         {}},
    };
    return rows;
}

const char* ButtonTip(ControlId id) {
    switch (id) {
    case kButtonJiantiFromFanti:
        return "Convert Fanti to Jianti";
    case kButtonFantiFromJianti:
        return "Convert Jianti to Fanti";
    case kButtonPinyinFromJianti:
        return "Convert Jianti to Pinyin";
    case kButtonPinyinFromFanti:
        return "Convert Fanti to Pinyin";
    case kButtonJyutpingFromJianti:
        return "Convert Jianti to Jyutping";
    case kButtonJyutpingFromFanti:
        return "Convert Fanti to Jyutping";
    default:
        return "Play the syllables";
    }
}

} // namespace

void LessonEditor::CreateControls() {
    auto addLabel = [this](ControlId id, const char* text, DialogRect rect) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        labels_[id] = label;
        controls_[id] = label;
        layout_.Add(label, rect, DialogLayout::kFitHeight);
        return label;
    };
    auto addButton = [this](ControlId id, const char* text, DialogRect rect, unsigned anchors) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setAutoDefault(false);
        controls_[id] = button;
        layout_.Add(button, rect, anchors);
        return button;
    };
    auto addLine = [this](ControlId id, DialogRect rect) {
        auto* edit = new QLineEdit(this);
        controls_[id] = edit;
        layout_.Add(edit, rect, DialogLayout::kGrowWidth | DialogLayout::kFitHeight);
        return edit;
    };
    constexpr unsigned kRight = DialogLayout::kFollowRight;
    constexpr unsigned kBottom = DialogLayout::kFollowBottom;

    addLabel(kStaticLessonFile, "File:", {7, 7, 42, 10});
    addLine(kLessonFileField, {50, 5, 270, 13})->setReadOnly(true);
    addButton(kButtonLessonOpen, "Open", {325, 5, 53, 14}, kRight);
    addLabel(kStaticLessonTag, "Tag:", {7, 24, 42, 10});
    addLine(kLessonTagField, {50, 22, 270, 13});
    addButton(kButtonLessonBrowse, "Browse", {325, 22, 53, 14}, kRight);
    addLabel(kStaticHtmlList, "HTML Lessons:", {7, 41, 42, 10});
    auto* list = new QComboBox(this);
    controls_[kLessonHtmlList] = list;
    layout_.Add(list, {50, 39, 270, 13}, DialogLayout::kGrowWidth | DialogLayout::kFitHeight);

    for (const TextRow& row : TextRows()) {
        auto* field = new QPlainTextEdit(this);
        field->setTabChangesFocus(true);
        controls_[row.field] = field;
        layout_.Add(field, {50, row.top, 270, 30}, DialogLayout::kGrowWidth);
        const QString colour = QStringLiteral("color: %1").arg(row.colour.name());
        addLabel(row.label, row.labelText, {7, row.top, 42, 10})->setStyleSheet(colour);
        addLabel(row.titleLabel, row.titleText, {7, row.top + 9, 42, 10})->setStyleSheet(colour);
        int left = 7;
        for (const auto& [id, text] : row.buttons) {
            auto* button = new FlatButton(this);
            button->setText(QString::fromUtf8(text));
            button->setToolTip(QString::fromLatin1(ButtonTip(id)));
            button->setFaceColour(Qt::white);
            button->setTextColour(Qt::black);
            if (id == kButtonSpeakPinyin || id == kButtonSpeakJyutping) {
                button->setPicture(QIcon(QStringLiteral(":/pages/speaker.gif")));
                connect(button, &QAbstractButton::clicked, this,
                        [this, id] { Speak(id == kButtonSpeakPinyin ? Scheme::Pinyin : Scheme::Jyutping); });
            } else {
                connect(button, &QAbstractButton::clicked, this, [this, id] { Convert(id); });
            }
            controls_[id] = button;
            layout_.Add(button, {left, row.top + 19, 12, 11});
            left += 13;
        }
    }

    auto* modes = new QButtonGroup(this);
    for (const auto& [id, text, top] :
         {std::tuple{kRadioOxaMode, "Oxa", 58}, std::tuple{kRadioHtmlMode, "HTML", 70}}) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), this);
        modes->addButton(radio);
        controls_[id] = radio;
        layout_.Add(radio, {325, top, 53, 10}, kRight | DialogLayout::kFitHeight);
    }
    connect(button(kRadioOxaMode), &QAbstractButton::clicked, this, [this] { SetMode(Mode::Oxa); });
    connect(button(kRadioHtmlMode), &QAbstractButton::clicked, this, [this] { SetMode(Mode::Html); });
    addButton(kButtonPinyinFont, "Pin Yin", {325, 126, 53, 14}, kRight);
    addButton(kButtonPinyinFont2, "Pin1 Yin1", {325, 142, 53, 14}, kRight);

    const std::tuple<ControlId, const char*, DialogRect> bottom[] = {
        {kButtonFirstRecord, "| <", {7, 240, 20, 14}},
        {kButtonPreviousRecord, "<", {29, 240, 20, 14}},
        {kButtonNextRecord, ">", {51, 240, 20, 14}},
        {kButtonLastRecord, "> |", {73, 240, 20, 14}},
        {kButtonLessonClose, "Close", {100, 240, 40, 14}},
        {kButtonLessonSave, "Save", {143, 240, 40, 14}},
        {kButtonLessonImport, "Import", {186, 240, 40, 14}},
        {kButtonLessonDelete, "Delete", {229, 240, 40, 14}},
        {kButtonAddSection, "Add", {272, 240, 35, 14}},
        {kButtonInsertSection, "Insert", {310, 240, 35, 14}}};
    for (const auto& [id, text, rect] : bottom) {
        addButton(id, text, rect, kBottom);
    }
    auto* where = new QButtonGroup(this);
    for (const auto& [id, text, top] :
         {std::tuple{kRadioInsertBefore, "Before", 236}, std::tuple{kRadioInsertAfter, "After", 248}}) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), this);
        where->addButton(radio);
        controls_[id] = radio;
        layout_.Add(radio, {348, top, 35, 10}, kBottom | DialogLayout::kFitHeight);
    }

    connect(button(kButtonFirstRecord), &QAbstractButton::clicked, this, [this] { GoTo(0); });
    connect(button(kButtonPreviousRecord), &QAbstractButton::clicked, this, [this] { GoTo(current_ - 1); });
    connect(button(kButtonNextRecord), &QAbstractButton::clicked, this, [this] { GoTo(current_ + 1); });
    connect(button(kButtonLastRecord), &QAbstractButton::clicked, this,
            [this] { GoTo(lesson_.count() - 1); });
    connect(button(kButtonLessonClose), &QAbstractButton::clicked, this, &LessonEditor::CloseEditor);
    connect(button(kButtonLessonSave), &QAbstractButton::clicked, this, &LessonEditor::SaveOrExport);
    connect(button(kButtonLessonImport), &QAbstractButton::clicked, this, &LessonEditor::Import);
    connect(button(kButtonLessonDelete), &QAbstractButton::clicked, this, &LessonEditor::Delete);
    connect(button(kButtonAddSection), &QAbstractButton::clicked, this, &LessonEditor::Add);
    connect(button(kButtonInsertSection), &QAbstractButton::clicked, this, &LessonEditor::Insert);
    connect(button(kButtonPinyinFont), &QAbstractButton::clicked, this, [this] { ShowPinyinMarked(true); });
    connect(button(kButtonPinyinFont2), &QAbstractButton::clicked, this, [this] { ShowPinyinMarked(false); });
    connect(button(kButtonLessonOpen), &QAbstractButton::clicked, this,
            [this] { mode_ == Mode::Oxa ? Open() : BrowseFolder(); });
    connect(button(kButtonLessonBrowse), &QAbstractButton::clicked, this, &LessonEditor::BrowseFile);
    connect(list, &QComboBox::activated, this, [this] { ApplyListSelection(); });
}

// Labels and fonts of the interface language; fields in their forms' fonts.
void LessonEditor::Relabel() {
    for (const auto& [id, label] : labels_) {
        const auto text = env_.labels ? env_.labels(id) : std::nullopt;
        if (text) {
            label->setText(text->text);
            label->setFont(text->font);
        }
    }
    for (const ControlId id : {kButtonPinyinFont, kButtonPinyinFont2}) {
        if (const auto text = env_.labels ? env_.labels(id) : std::nullopt) {
            button(id)->setText(text->text);
            button(id)->setFont(text->font);
        }
    }
    if (env_.fonts) {
        for (const TextRow& row : TextRows()) {
            control(row.field)->setFont(env_.fonts(row.font));
        }
        control(kLessonTagField)->setFont(env_.fonts(FontSlot::English));
    }
}

} // namespace quillory
