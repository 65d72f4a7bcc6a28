#include "lessons/editor/LessonEditor.h"

#include "lessons/format/LessonText.h"
#include "lessons/format/OxaFile.h"
#include "settings/SettingsStore.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quillory {
namespace {

constexpr QSize kTemplateSize(385, 273);

struct FieldKey {
    ControlId field;
    QString LessonSection::*member;
    const char* key;
};
// The five text fields, in the order of the title checks.
constexpr FieldKey kTextFields[] = {{kLessonJiantiField, &LessonSection::jt, kJiantiKey},
                                    {kLessonFantiField, &LessonSection::ft, kFantiKey},
                                    {kLessonPinyinField, &LessonSection::py, kPinyinKey},
                                    {kLessonJyutpingField, &LessonSection::jp, kJyutpingKey},
                                    {kLessonEnglishField, &LessonSection::en, kEnglishKey}};

constexpr ControlId kConversionButtons[] = {kButtonJiantiFromFanti,    kButtonFantiFromJianti,
                                            kButtonPinyinFromJianti,   kButtonPinyinFromFanti,
                                            kButtonJyutpingFromJianti, kButtonJyutpingFromFanti};

} // namespace

LessonEditor::LessonEditor(LessonEditorEnvironment environment, QWidget* parent)
    : QDialog(parent), env_(std::move(environment)), prompts_(env_.prompts ? *env_.prompts : DialogPrompts()),
      reporter_(*env_.reporter), layout_(kTemplateSize, kEnlargedDialogScale) {
    setWindowTitle(QStringLiteral("Tessaravin - Quillory - Lesson Editor"));
    setModal(false);
    CreateControls();
    Relabel();
    resize(layout_.pixelSize(font()));
    setMinimumSize(layout_.pixelSize(font()));
    layout_.Apply(font(), size());
    button(kRadioOxaMode)->setChecked(true);
    NewLesson();
}

QWidget* LessonEditor::control(ControlId id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}
QLineEdit* LessonEditor::line(ControlId id) const {
    return qobject_cast<QLineEdit*>(control(id));
}
QPlainTextEdit* LessonEditor::text(ControlId id) const {
    return qobject_cast<QPlainTextEdit*>(control(id));
}
QAbstractButton* LessonEditor::button(ControlId id) const {
    return qobject_cast<QAbstractButton*>(control(id));
}
QComboBox* LessonEditor::htmlList() const {
    return qobject_cast<QComboBox*>(control(kLessonHtmlList));
}

QString LessonEditor::FieldText(ControlId id) const {
    if (const QLineEdit* edit = line(id)) {
        return edit->text();
    }
    return text(id)->toPlainText();
}

void LessonEditor::SetFieldText(ControlId id, const QString& value) {
    if (QLineEdit* edit = line(id)) {
        edit->setText(value);
    } else {
        text(id)->setPlainText(value);
    }
}

void LessonEditor::OpenLesson(std::uint32_t lessonId) {
    mode_ = Mode::Oxa;
    button(kRadioOxaMode)->setChecked(true);
    if (lessonId == kNoLesson) {
        NewLesson();
    } else {
        lesson_ = {};
        env_.lessons->oxa().LoadOxaLesson(int(lessonId), lesson_);
        current_ = 0;
        editMode_ = false;
        library_ = true;
        saved_ = true;
        libraryId_ = int(lessonId);
        ClearFields();
        ShowRecord();
        UpdateControls();
    }
    show();
    raise();
    activateWindow();
}

void LessonEditor::NewLesson() {
    lesson_ = Lesson::NewLesson();
    current_ = 0;
    editMode_ = true;
    library_ = false;
    saved_ = false;
    libraryId_ = 0;
    ClearFields();
    ShowRecord();
    UpdateControls();
}

void LessonEditor::ClearFields() {
    for (const ControlId id : {kLessonFileField, kLessonTagField}) {
        SetFieldText(id, QString());
    }
    for (const FieldKey& field : kTextFields) {
        SetFieldText(field.field, QString());
    }
}

void LessonEditor::ShowRecord() {
    if (current_ < 0 || current_ >= lesson_.count()) {
        return;
    }
    const LessonSection& record = lesson_.records[current_];
    SetFieldText(kLessonTagField, record.title);
    for (const FieldKey& field : kTextFields) {
        SetFieldText(field.field, record.*field.member);
    }
    if (library_ && current_ == 0) {
        SetFieldText(kLessonFileField, LessonIdText(libraryId_));
    }
}

void LessonEditor::StoreFields() {
    if (mode_ != Mode::Oxa || !editMode_ || current_ < 0 || current_ >= lesson_.count()) {
        return;
    }
    LessonSection& record = lesson_.records[current_];
    record.title = FieldText(kLessonTagField);
    for (const FieldKey& field : kTextFields) {
        record.*field.member = FieldText(field.field);
    }
}

void LessonEditor::UpdateControls() {
    const bool oxa = mode_ == Mode::Oxa;
    labels_[kStaticLessonFile]->setText(oxa ? QStringLiteral("File:") : QStringLiteral("Root Folder:"));
    labels_[kStaticLessonTag]->setText(oxa ? QStringLiteral("Tag:") : QStringLiteral("Index File:"));
    button(kButtonLessonOpen)->setText(oxa ? QStringLiteral("Open") : QStringLiteral("Browse"));
    button(kButtonLessonBrowse)->setVisible(!oxa);
    for (const ControlId id :
         {kButtonPinyinFont, kButtonPinyinFont2, kButtonSpeakPinyin, kButtonSpeakJyutping}) {
        control(id)->setVisible(oxa);
    }
    for (const ControlId id : {kStaticJiantiTitle, kStaticFantiTitle, kStaticPinyinTitle,
                               kStaticJyutpingTitle, kStaticEnglishTitle}) {
        control(id)->setVisible(!oxa);
    }
    htmlList()->setEnabled(!oxa);
    control(kStaticHtmlList)->setEnabled(!oxa);
    line(kLessonFileField)->setReadOnly(true);
    const bool last = current_ >= lesson_.count() - 1;
    if (!oxa) {
        line(kLessonTagField)->setReadOnly(true);
        for (const FieldKey& field : kTextFields) {
            text(field.field)->setReadOnly(false);
        }
        for (const ControlId id :
             {kButtonFirstRecord, kButtonPreviousRecord, kButtonNextRecord, kButtonLastRecord,
              kButtonAddSection, kButtonInsertSection, kRadioInsertBefore, kRadioInsertAfter}) {
            control(id)->setEnabled(false);
        }
        for (const ControlId id : kConversionButtons) {
            control(id)->setEnabled(false);
        }
        button(kButtonLessonSave)->setText(QStringLiteral("Export"));
        button(kButtonLessonOpen)->setEnabled(true);
        return;
    }
    for (const FieldKey& field : kTextFields) {
        text(field.field)->setReadOnly(!editMode_);
    }
    line(kLessonTagField)->setReadOnly(!editMode_ || current_ == 0);
    for (const ControlId id : kConversionButtons) {
        control(id)->setEnabled(editMode_);
    }
    for (const ControlId id :
         {kButtonPinyinFont, kButtonPinyinFont2, kButtonSpeakPinyin, kButtonSpeakJyutping}) {
        control(id)->setEnabled(id == kButtonSpeakPinyin || id == kButtonSpeakJyutping || !editMode_);
    }
    button(kButtonLessonOpen)->setEnabled(!library_);
    control(kButtonFirstRecord)->setEnabled(current_ > 0);
    control(kButtonPreviousRecord)->setEnabled(current_ > 0);
    control(kButtonNextRecord)->setEnabled(!last);
    control(kButtonLastRecord)->setEnabled(!last);
    for (const ControlId id :
         {kButtonAddSection, kButtonInsertSection, kRadioInsertBefore, kRadioInsertAfter}) {
        control(id)->setEnabled(editMode_);
    }
    button(kRadioInsertAfter)->setChecked(true);
    control(kRadioInsertBefore)->setEnabled(editMode_ && current_ > 0);
    const QString english = lesson_.records.empty() ? QString() : lesson_.records.front().en;
    setWindowTitle(EditorCaption(editMode_, current_, lesson_.count(), english));
    (current_ == 0 ? control(kLessonJiantiField) : control(kLessonTagField))->setFocus();
    control(kRadioOxaMode)->setEnabled(!library_);
    control(kRadioHtmlMode)->setEnabled(!library_);
    button(kButtonLessonSave)->setText(library_ ? QStringLiteral("Export") : QStringLiteral("Save"));
    button(kButtonLessonSave)->setEnabled(true);
    control(kButtonLessonImport)->setEnabled(!library_);
    // Delete removes a library lesson, or the current section while editing.
    control(kButtonLessonDelete)->setEnabled(library_ || (editMode_ && current_ > 0));
}

void LessonEditor::GoTo(int record) {
    if (mode_ != Mode::Oxa || record < 0 || record >= lesson_.count()) {
        return;
    }
    StoreFields();
    current_ = record;
    ShowRecord();
    UpdateControls();
}

void LessonEditor::Add() {
    ChangeSections([this] { return AddSection(lesson_, current_); });
}

void LessonEditor::Insert() {
    ChangeSections(
        [this] { return InsertSection(lesson_, current_, button(kRadioInsertAfter)->isChecked()); });
}

// Stores the shown record, changes the sections and shows the current one.
void LessonEditor::ChangeSections(const std::function<bool()>& change) {
    if (!editMode_ || mode_ != Mode::Oxa) {
        return;
    }
    StoreFields();
    if (change()) {
        ShowRecord();
        UpdateControls();
    }
}

void LessonEditor::ShowPinyinMarked(bool marked) {
    if (current_ >= lesson_.count()) {
        return;
    }
    control(kLessonPinyinField)->setFocus();
    const QString& stored = lesson_.records[current_].py;
    SetFieldText(kLessonPinyinField, marked ? MarkPinyinFont(stored) : stored);
}

} // namespace quillory
