// The Lesson Editor's file, library and mode actions.
#include "lessons/editor/LessonEditor.h"
#include "lessons/format/LessonText.h"
#include "lessons/format/OxaFile.h"
#include "settings/SettingsStore.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace quillory {
namespace {

const QString kSaveQuestion = QStringLiteral("Do you want to save the current lesson?");
const QString kOxaSavePath = QStringLiteral("savePath2");
const QString kHtmlPagePath = QStringLiteral("savePath3");
const QString kOxaFilter = QStringLiteral("Oxa Lesson (*.oxa)");

class DialogPromptsImpl final : public EditorPrompts {
public:
    bool Ask(QWidget* parent, const QString& question) override {
        return QMessageBox::question(parent, parent->windowTitle(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    QString SaveLessonFile(QWidget* parent, const QString& folder, const QString& name) override {
        return QFileDialog::getSaveFileName(parent, QString(), QDir(folder).filePath(name), kOxaFilter);
    }
    QString OpenLessonFile(QWidget* parent, const QString& folder) override {
        return QFileDialog::getOpenFileName(parent, QString(), folder, kOxaFilter);
    }
    QString ChooseFolder(QWidget* parent, const QString& prompt) override {
        return QFileDialog::getExistingDirectory(parent, prompt, QDir::homePath());
    }
    QString ChooseIndexPage(QWidget* parent, const QString& folder) override {
        const QString html = QStringLiteral("HTML Document (*.html;*.htm;*.shtml)");
        QString chosen = html;
        return QFileDialog::getOpenFileName(parent, QString(), folder,
                                            QStringLiteral("All file (*.*);;Text Document (*.txt);;") + html,
                                            &chosen);
    }
};

QString Remembered(const SettingsStore* settings, const QString& name) {
    const QString folder = settings ? settings->ReadSetting(name).value_or(QString()) : QString();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

} // namespace

EditorPrompts& DialogPrompts() {
    static DialogPromptsImpl prompts;
    return prompts;
}

QString LessonEditor::AskSavePath() {
    const QString english = lesson_.records.empty() ? QString() : lesson_.records.front().en;
    const QString offered = OfferedSaveName(library_, FieldText(kLessonFileField), english);
    const QString chosen = prompts_.SaveLessonFile(this, Remembered(env_.settings, kOxaSavePath), offered);
    if (chosen.isEmpty()) {
        return {};
    }
    if (env_.settings) {
        env_.settings->WriteSetting(kOxaSavePath, QFileInfo(chosen).absolutePath());
    }
    return WithOxaExtension(chosen);
}

bool LessonEditor::SaveOperation() {
    StoreFields();
    QString path = FieldText(kLessonFileField).trimmed();
    if (path.isEmpty()) {
        path = AskSavePath();
    }
    if (path.isEmpty()) {
        reporter_.showMessage(QStringLiteral("You have not specified a file to save the current lesson!"));
        return false;
    }
    SetFieldText(kLessonFileField, path);
    if (WriteOxaFile(path, lesson_, reporter_)) {
        saved_ = true;
    }
    return saved_;
}

void LessonEditor::SaveOrExport() {
    if (mode_ == Mode::Html || library_) {
        ExportLesson();
    } else {
        SaveOperation();
    }
}

void LessonEditor::ExportLesson() {
    if (mode_ == Mode::Oxa) {
        const QString path = AskSavePath();
        if (path.isEmpty()) {
            return;
        }
        RecordingReporter quiet;
        reporter_.showMessage(WriteOxaFile(path, lesson_, quiet)
                                  ? QStringLiteral("Oxa Format Lesson exported successfully.")
                                  : QStringLiteral("Failed to export Oxa Format Lesson."));
        return;
    }
    const int id = SelectedHtmlLesson();
    if (id <= 0) {
        return;
    }
    const QString folder =
        prompts_.ChooseFolder(this, QStringLiteral("Choose the folder to export the HTML Lesson to"));
    if (folder.isEmpty()) {
        return;
    }
    reporter_.showMessage(env_.lessons->html().ExportHtmlLesson(id, folder)
                              ? QStringLiteral("HTML Lesson exported successfully.")
                              : QStringLiteral("Failed to export HTML Lesson."));
}

void LessonEditor::Open() {
    if (library_) {
        return;
    }
    if (!saved_ && prompts_.Ask(this, kSaveQuestion)) {
        StoreFields();
        const QString path = AskSavePath();
        if (!path.isEmpty() && WriteOxaFile(path, lesson_, reporter_)) {
            saved_ = true;
        }
    }
    const QString path = prompts_.OpenLessonFile(this, Remembered(env_.settings, kOxaSavePath));
    if (path.isEmpty()) {
        return;
    }
    if (env_.settings) {
        env_.settings->WriteSetting(kOxaSavePath, QFileInfo(path).absolutePath());
    }
    Lesson read;
    if (!ReadOxaFile(path, read, true)) {
        reporter_.showMessage(QStringLiteral("Cannot load the given lesson file."));
        return;
    }
    lesson_ = std::move(read);
    current_ = 0;
    editMode_ = true;
    library_ = false;
    saved_ = false;
    ClearFields();
    SetFieldText(kLessonFileField, path);
    ShowRecord();
    UpdateControls();
}

LessonSection LessonEditor::TitleFromFields() const {
    return {FieldText(kLessonTagField).trimmed(),      FieldText(kLessonJiantiField).trimmed(),
            FieldText(kLessonFantiField).trimmed(),    FieldText(kLessonPinyinField).trimmed(),
            FieldText(kLessonJyutpingField).trimmed(), FieldText(kLessonEnglishField).trimmed()};
}

void LessonEditor::Focus(ImportField field) {
    const ControlId ids[] = {kButtonLessonOpen,  kButtonLessonBrowse,  kLessonJiantiField, kLessonFantiField,
                             kLessonPinyinField, kLessonJyutpingField, kLessonEnglishField};
    control(ids[int(field)])->setFocus();
}

void LessonEditor::Import() {
    if (mode_ == Mode::Html) {
        const LessonSection title = TitleFromFields();
        const QString root = FieldText(kLessonFileField).trimmed();
        const QString page = FieldText(kLessonTagField).trimmed();
        if (const auto problem = CheckHtmlImport(root, page, title, env_.lessons->html())) {
            reporter_.showMessage(problem->message);
            Focus(problem->focus);
            return;
        }
        const int id = env_.lessons->html().ImportHtmlLesson(root, page, title.jt, title.ft, title.py,
                                                             title.jp, title.en);
        if (id < 0) {
            reporter_.showMessage(QStringLiteral("Failed to import HTML Lesson."));
            return;
        }
        FillHtmlList();
        if (env_.postNotice) {
            env_.postNotice(LessonFormat::Html, id, 1);
        }
        reporter_.showMessage(QStringLiteral("HTML Lesson imported successfully."));
        return;
    }
    if (library_) {
        return;
    }
    GoTo(0);
    if (const auto problem = CheckTitles(lesson_.records.front())) {
        reporter_.showMessage(problem->message);
        Focus(problem->focus);
        return;
    }
    const int id = env_.lessons->oxa().AddOxaLesson(lesson_);
    if (id < 0) {
        reporter_.showMessage(QStringLiteral("Failed to import Oxa Format Lesson."));
        return;
    }
    if (env_.postNotice) {
        env_.postNotice(LessonFormat::Oxa, id, 1);
    }
    reporter_.showMessage(QStringLiteral("Oxa Format Lesson imported successfully."));
}

void LessonEditor::Delete() {
    if (mode_ == Mode::Html) {
        const int id = SelectedHtmlLesson();
        if (id > 0 &&
            prompts_.Ask(this, QStringLiteral("This lesson is going to be deleted?\nAre you sure?")) &&
            env_.lessons->html().RemoveHtmlLesson(id)) {
            FillHtmlList();
            if (env_.postNotice) {
                env_.postNotice(LessonFormat::Html, id, 2);
            }
        }
        return;
    }
    if (library_) {
        if (prompts_.Ask(this, QStringLiteral("This lesson is going to be deleted?\nAre you sure?")) &&
            env_.lessons->oxa().RemoveOxaLesson(libraryId_)) {
            if (env_.postNotice) {
                env_.postNotice(LessonFormat::Oxa, libraryId_, 2);
            }
            NewLesson();
        }
        return;
    }
    if (editMode_ && current_ > 0 &&
        prompts_.Ask(this, QStringLiteral("This section is going to be deleted?\nAre you sure?"))) {
        ChangeSections([this] { return DeleteSection(lesson_, current_); });
    }
}

void LessonEditor::CloseEditor() {
    if (mode_ == Mode::Oxa && !saved_ && !library_ && prompts_.Ask(this, kSaveQuestion)) {
        SaveOperation();
    }
    hide();
}

void LessonEditor::closeEvent(QCloseEvent* event) {
    event->ignore();
    CloseEditor();
}

void LessonEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        CloseEditor();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return; // Enter does nothing
    }
    QDialog::keyPressEvent(event);
}

void LessonEditor::SetMode(Mode mode) {
    if (mode == mode_) {
        return;
    }
    if (mode == Mode::Html && !saved_ && !library_ && prompts_.Ask(this, kSaveQuestion)) {
        SaveOperation();
    }
    mode_ = mode;
    button(mode == Mode::Oxa ? kRadioOxaMode : kRadioHtmlMode)->setChecked(true);
    ClearFields();
    if (mode == Mode::Oxa) {
        NewLesson();
        return;
    }
    UpdateControls();
    FillHtmlList();
}

void LessonEditor::FillHtmlList() {
    QComboBox* list = htmlList();
    list->clear();
    list->addItem(QString::fromLatin1(kHtmlLessonPlaceholder), -1);
    std::vector<LessonEntry> lessons;
    env_.lessons->html().FillHtmlLessonList(lessons);
    for (const LessonEntry& entry : lessons) {
        list->addItem(entry.title, entry.id);
    }
    list->setCurrentIndex(0);
    ApplyListSelection();
}

int LessonEditor::SelectedHtmlLesson() const {
    return htmlList()->currentData().toInt();
}

void LessonEditor::ApplyListSelection() {
    const int id = SelectedHtmlLesson();
    const bool chosen = id > 0;
    if (!chosen) {
        ClearFields();
    } else {
        SetFieldText(kLessonFileField, LessonIdText(id));
        QString value;
        env_.lessons->html().ReadHtmlIndexValue(id, kIndexPageKey, value);
        SetFieldText(kLessonTagField, value);
        for (const auto& [field, key] :
             {std::pair{kLessonJiantiField, kJiantiKey}, std::pair{kLessonFantiField, kFantiKey},
              std::pair{kLessonPinyinField, kPinyinKey}, std::pair{kLessonJyutpingField, kJyutpingKey},
              std::pair{kLessonEnglishField, kEnglishKey}}) {
            env_.lessons->html().ReadHtmlIndexValue(id, key, value);
            SetFieldText(field, value);
        }
    }
    control(kButtonLessonDelete)->setEnabled(chosen);
    control(kButtonLessonSave)->setEnabled(chosen);
    control(kButtonLessonOpen)->setEnabled(!chosen);
    control(kButtonLessonBrowse)->setEnabled(!chosen);
    control(kButtonLessonImport)->setEnabled(!chosen);
}

void LessonEditor::BrowseFolder() {
    const QString folder =
        prompts_.ChooseFolder(this, QStringLiteral("Browse the folder contains the HTML Lesson to import"));
    if (folder.isEmpty()) {
        return;
    }
    const QString root = folder.endsWith(u'/') ? folder : folder + u'/';
    SetFieldText(kLessonFileField, root);
    SetFieldText(kLessonTagField, root + QStringLiteral("index.html"));
}

void LessonEditor::BrowseFile() {
    const QString root = FieldText(kLessonFileField).trimmed();
    const QString start = root.isEmpty() ? Remembered(env_.settings, kHtmlPagePath) : root;
    const QString page = prompts_.ChooseIndexPage(this, start);
    if (page.isEmpty()) {
        return;
    }
    const QString folder = QFileInfo(page).absolutePath();
    SetFieldText(kLessonTagField, page);
    SetFieldText(kLessonFileField, folder + u'/');
    if (env_.settings) {
        env_.settings->WriteSetting(kHtmlPagePath, folder);
    }
}

void LessonEditor::Convert(ControlId id) {
    const struct {
        ControlId button;
        ControlId source;
        ControlId target;
        TextKind from;
        TextKind to;
    } conversions[] = {
        {kButtonJiantiFromFanti, kLessonFantiField, kLessonJiantiField, TextKind::Big5, TextKind::GB},
        {kButtonFantiFromJianti, kLessonJiantiField, kLessonFantiField, TextKind::GB, TextKind::Big5},
        {kButtonPinyinFromJianti, kLessonJiantiField, kLessonPinyinField, TextKind::GB, TextKind::Pinyin},
        {kButtonPinyinFromFanti, kLessonFantiField, kLessonPinyinField, TextKind::Big5, TextKind::Pinyin},
        {kButtonJyutpingFromJianti, kLessonJiantiField, kLessonJyutpingField, TextKind::GB,
         TextKind::Jyutping},
        {kButtonJyutpingFromFanti, kLessonFantiField, kLessonJyutpingField, TextKind::Big5,
         TextKind::Jyutping}};
    for (const auto& c : conversions) {
        if (c.button != id || !editMode_ || mode_ != Mode::Oxa) {
            continue;
        }
        control(c.target)->setFocus();
        if (!env_.converter) {
            return;
        }
        const ConversionResult result = env_.converter->ConvertText(FieldText(c.source), c.from, c.to);
        if (!result.ok()) {
            reporter_.showMessage(result.error);
            return;
        }
        // Readings one blank apart, as the lesson files keep them.
        const bool reading = c.to == TextKind::Pinyin || c.to == TextKind::Jyutping;
        SetFieldText(c.target, reading ? result.text.simplified() : result.text);
    }
}

void LessonEditor::Speak(Scheme scheme) {
    const QString shown =
        current_ < lesson_.count() && !editMode_
            ? (scheme == Scheme::Pinyin ? lesson_.records[current_].py : lesson_.records[current_].jp)
            : FieldText(scheme == Scheme::Pinyin ? kLessonPinyinField : kLessonJyutpingField);
    const QStringList syllables = SpokenSyllables(shown);
    if (env_.speak && !syllables.isEmpty()) {
        env_.speak(syllables, scheme);
    }
}

} // namespace quillory
