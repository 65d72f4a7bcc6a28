#pragma once
// The Lesson Editor (dialog 236), modeless. Oxa mode shows a library lesson
// read-only, or makes and edits a lesson record by record, opens and saves
// standalone .oxa files and imports the lesson into the library. HTML mode
// imports a folder of web pages into the HTML library and lists its lessons.
#include "controls/DialogLayout.h"
#include "controls/LanguageLabel.h"
#include "controls/tree/CategoryTreeBuilder.h"

#include "dictionary/text/MessageReporter.h"
#include "dictionary/text/Romanisation.h"
#include "lessons/editor/EditorRules.h"
#include "lessons/library/LessonLibraries.h"
#include "settings/ControlIds.h"
#include "settings/FontSlot.h"
#include "tools/convert/TextConverter.h"
#include <QLabel>

#include <QDialog>
#include <functional>
#include <map>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QWidget;

namespace quillory {

class SettingsStore;

// The questions and file choices the editor asks the user; the window's are
// dialogs, tests answer them from a script.
class EditorPrompts {
public:
    virtual ~EditorPrompts() = default;
    virtual bool Ask(QWidget* parent, const QString& question) = 0;
    // Empty: cancelled.
    virtual QString SaveLessonFile(QWidget* parent, const QString& folder, const QString& name) = 0;
    virtual QString OpenLessonFile(QWidget* parent, const QString& folder) = 0;
    virtual QString ChooseFolder(QWidget* parent, const QString& prompt) = 0;
    virtual QString ChooseIndexPage(QWidget* parent, const QString& folder) = 0;
};

// Message boxes and the platform's file dialogs.
EditorPrompts& DialogPrompts();

struct LessonEditorEnvironment {
    LessonLibraries* lessons = nullptr;
    SettingsStore* settings = nullptr;
    MessageReporter* reporter = nullptr;
    EditorPrompts* prompts = nullptr; // DialogPrompts() when not given
    LabelLookup labels;               // interface texts in the current language
    std::function<QFont(FontSlot)> fonts;
    // Posted to the main window after an import (action 1) or removal (2).
    std::function<void(LessonFormat format, int id, int action)> postNotice;
    // The Converter's core, for the conversion buttons; none: they only
    // move the focus.
    TextConverter* converter = nullptr;
    // Plays the syllables one after another.
    std::function<void(const QStringList& syllables, Scheme scheme)> speak;
};

class LessonEditor final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Oxa, Html };
    static constexpr std::uint32_t kNoLesson = LessonActions::kNoLesson;

    explicit LessonEditor(LessonEditorEnvironment environment, QWidget* parent = nullptr);

    // Oxa mode with a library lesson (view mode) or, for kNoLesson, a new
    // lesson (edit mode); then shown.
    void OpenLesson(std::uint32_t lessonId);
    void Relabel();

    // The buttons' actions.
    void GoTo(int record);
    void Add();
    void Insert();
    void Open();
    bool SaveOperation();
    void SaveOrExport();
    void Import();
    void Delete();
    void CloseEditor();
    void SetMode(Mode mode);
    void ShowPinyinMarked(bool marked);
    void BrowseFolder();
    void BrowseFile();
    void Convert(ControlId button);
    void Speak(Scheme scheme);

    const Lesson& lesson() const { return lesson_; }
    int current() const { return current_; }
    bool isEditMode() const { return editMode_; }
    bool isLibraryLesson() const { return library_; }
    bool isSaved() const { return saved_; }
    Mode mode() const { return mode_; }
    QWidget* control(ControlId id) const;
    QLineEdit* line(ControlId id) const;
    QPlainTextEdit* text(ControlId id) const;
    QAbstractButton* button(ControlId id) const;
    QComboBox* htmlList() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void NewLesson();
    void ShowRecord();
    void StoreFields();
    void ClearFields();
    void ChangeSections(const std::function<bool()>& change);
    void UpdateControls();
    void FillHtmlList();
    void ApplyListSelection();
    QString AskSavePath();
    void Focus(ImportField field);
    QString FieldText(ControlId id) const;
    void SetFieldText(ControlId id, const QString& text);
    LessonSection TitleFromFields() const;
    int SelectedHtmlLesson() const;
    void ExportLesson();

    LessonEditorEnvironment env_;
    EditorPrompts& prompts_;
    MessageReporter& reporter_;
    DialogLayout layout_;
    std::map<std::uint32_t, QWidget*> controls_;
    std::map<std::uint32_t, QLabel*> labels_;

    Lesson lesson_ = Lesson::NewLesson();
    int current_ = 0;
    bool editMode_ = true;
    bool library_ = false;
    bool saved_ = false;
    int libraryId_ = 0;
    Mode mode_ = Mode::Oxa;
};

} // namespace quillory
