// The Lesson Editor (dialog 236) on a library of its own, with the user's
// answers and file choices given by a script.
#include "lessons/editor/LessonEditor.h"
#include "lessons/format/OxaFile.h"
#include "lessons/library/FolderCopy.h"
#include "tests/support/LessonFiles.h"
#include "tests/support/TemporarySettings.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

class ScriptedPrompts final : public EditorPrompts {
public:
    bool Ask(QWidget*, const QString& question) override {
        questions.append(question);
        return answer;
    }
    QString SaveLessonFile(QWidget*, const QString& folder, const QString& name) override {
        offered.append(folder + u'|' + name);
        return savePath;
    }
    QString OpenLessonFile(QWidget*, const QString&) override { return openPath; }
    QString ChooseFolder(QWidget*, const QString&) override { return folder; }
    QString ChooseIndexPage(QWidget*, const QString&) override { return page; }

    bool answer = false;
    QString savePath, openPath, folder, page;
    QStringList questions, offered;
};

struct Notice {
    LessonFormat format;
    int id;
    int action;
    friend bool operator==(const Notice&, const Notice&) = default;
};

} // namespace

class LessonEditorTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<testing::TemporarySettings> settings_;
    RecordingReporter reporter_;
    ScriptedPrompts prompts_;
    std::vector<Notice> notices_;
    std::unique_ptr<LessonLibraries> lessons_;
    std::unique_ptr<LessonEditor> editor_;

    QString field(ControlId id) const {
        if (QLineEdit* line = editor_->line(id))
            return line->text();
        return editor_->text(id)->toPlainText();
    }
    void type(ControlId id, const QString& text) {
        if (QLineEdit* line = editor_->line(id))
            line->setText(text);
        else
            editor_->text(id)->setPlainText(text);
    }
    bool enabled(ControlId id) const { return editor_->control(id)->isEnabled(); }
    void click(ControlId id) { editor_->button(id)->click(); }
    // The section titles of the editor's lesson.
    QStringList titles() const { return testing::Titles(editor_->lesson()); }

private slots:
    void init() {
        QVERIFY(QDir(dir_.path()).removeRecursively() && QDir().mkpath(dir_.path()));
        QVERIFY(
            CopyFolderTree(QStringLiteral(QUILLORY_SOURCE_DIR "/lessons/samples"), dir_.filePath("lesson")));
        lessons_ = std::make_unique<LessonLibraries>(LessonFoldersOf(dir_.filePath("lesson")), reporter_);
        prompts_ = ScriptedPrompts();
        settings_ = std::make_unique<testing::TemporarySettings>();
        reporter_.messages.clear();
        notices_.clear();
        LessonEditorEnvironment environment;
        environment.lessons = lessons_.get();
        environment.settings = &settings_->store();
        environment.reporter = &reporter_;
        environment.prompts = &prompts_;
        environment.postNotice = [this](LessonFormat format, int id, int action) {
            notices_.push_back({format, id, action});
        };
        editor_ = std::make_unique<LessonEditor>(environment);
        editor_->OpenLesson(LessonEditor::kNoLesson);
        QVERIFY(QTest::qWaitForWindowActive(editor_.get()));
    }

    void aLibraryLessonShowsReadOnly() {
        editor_->OpenLesson(3);
        QCOMPARE(editor_->windowTitle(), u"Tessaravin - Quillory - Oxa Lesson (1/13 : Family)"_s);
        QCOMPARE(field(kLessonFileField), u"Lesson ID: 3"_s);
        QCOMPARE(field(kLessonFantiField), u"家人"_s);
        QCOMPARE(editor_->button(kButtonLessonSave)->text(), u"Export"_s);
        for (ControlId id : {kButtonLessonOpen, kButtonLessonImport, kRadioOxaMode, kRadioHtmlMode,
                             kButtonAddSection, kButtonFirstRecord, kButtonPinyinFromJianti})
            QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
        QVERIFY(editor_->text(kLessonJiantiField)->isReadOnly() &&
                editor_->line(kLessonTagField)->isReadOnly());
        click(kButtonLastRecord);
        QCOMPARE(field(kLessonTagField), u"This is my mother"_s);
        QCOMPARE(editor_->windowTitle(), u"Tessaravin - Quillory - Oxa Lesson (13/13 : Family)"_s);
        QVERIFY(!enabled(kButtonNextRecord) && enabled(kButtonPreviousRecord));
        // The Pin Yin buttons show the tone marks of the Pinyin font and the stored text again.
        click(kButtonPinyinFont);
        QCOMPARE(field(kLessonPinyinField), MarkPinyinFont(u"zhe4 shi4 wo3 de5 ma1 ma5."_s));
        click(kButtonPinyinFont2);
        QCOMPARE(field(kLessonPinyinField), u"zhe4 shi4 wo3 de5 ma1 ma5."_s);

        // A library lesson whose file is missing shows its title record only, silently.
        QVERIFY(QFile::remove(lessons_->oxa().lessonPath(2)));
        editor_->OpenLesson(2);
        QCOMPARE(editor_->lesson().count(), 1);
        QCOMPARE(editor_->windowTitle(), u"Tessaravin - Quillory - Oxa Lesson (1/1 : Numbers)"_s);
        QVERIFY(reporter_.messages.isEmpty());
    }

    void sectionsAreAddedAndInsertedAfterTheTitleRecord() {
        QVERIFY(!enabled(kRadioInsertBefore)); // never ahead of the title record
        QCOMPARE(editor_->windowTitle(), u"Tessaravin - Quillory - Lesson Editor (1/1 : )"_s);
        type(kLessonEnglishField, u"Colours"_s);
        click(kButtonAddSection);
        type(kLessonTagField, u"one"_s);
        click(kButtonAddSection);
        type(kLessonTagField, u"two"_s);
        click(kButtonInsertSection); // After on the last record: as Add
        type(kLessonTagField, u"three"_s);
        QCOMPARE(editor_->windowTitle(), u"Tessaravin - Quillory - Lesson Editor (4/4 : Colours)"_s);
        QVERIFY(enabled(kRadioInsertBefore));
        editor_->button(kRadioInsertBefore)->setChecked(true);
        click(kButtonInsertSection);
        QCOMPARE(editor_->current(), 3); // the old record 3 moves to 4
        click(kButtonFirstRecord);       // stores the fields first
        QCOMPARE(titles(), (QStringList{"title", "one", "two", "new section", "three"}));
        QCOMPARE(editor_->lesson().records[0].en, u"Colours"_s);
        QVERIFY(!enabled(kButtonPreviousRecord) && enabled(kButtonLastRecord));
        QVERIFY(editor_->line(kLessonTagField)->isReadOnly()); // the title record's tag

        // Deleting a section asks first; the title record has none to delete.
        QVERIFY(!enabled(kButtonLessonDelete));
        click(kButtonNextRecord);
        prompts_.answer = true;
        click(kButtonLessonDelete);
        QCOMPARE(prompts_.questions, QStringList{u"This section is going to be deleted?\nAre you sure?"_s});
        QCOMPARE(titles(), (QStringList{"title", "two", "new section", "three"}));

        // A full lesson takes no more sections.
        LessonSection section = testing::TaggedSection(u"s"_s, u"s"_s);
        QString path = dir_.filePath("full.oxa");
        Lesson full = testing::TaggedLesson(0);
        full.records.resize(Lesson::kMaxRecords, section);
        QVERIFY(WriteOxaFile(path, full, reporter_));
        prompts_.answer = false;
        prompts_.openPath = path;
        click(kButtonLessonOpen);
        QCOMPARE(editor_->lesson().count(), 999);
        click(kButtonLastRecord);
        click(kButtonAddSection);
        click(kButtonInsertSection);
        QCOMPARE(editor_->lesson().count(), 999);
        QCOMPARE(editor_->current(), 998);
    }

    void closingAnUnsavedLessonAsksOnce() {
        type(kLessonEnglishField, u"Weather"_s);
        prompts_.answer = true; // save, but the save dialog is cancelled
        click(kButtonLessonClose);
        QCOMPARE(prompts_.questions, QStringList{u"Do you want to save the current lesson?"_s});
        QCOMPARE(prompts_.offered, QStringList{QDir::homePath() + u"|Weather.oxa"_s});
        QCOMPARE(reporter_.messages,
                 QStringList{u"You have not specified a file to save the current lesson!"_s});
        QVERIFY(!editor_->isVisible());

        // A path typed without an extension gets one; ".OXA" is kept; the folder is remembered.
        editor_->OpenLesson(LessonEditor::kNoLesson);
        for (const auto& [chosen, written] :
             {std::pair{u"a"_s, u"a.oxa"_s}, std::pair{u"B.OXA"_s, u"B.OXA"_s}}) {
            type(kLessonFileField, QString());
            prompts_.savePath = dir_.filePath(chosen);
            click(kButtonLessonSave);
            QVERIFY2(QFile::exists(dir_.filePath(written)), qPrintable(written));
            QCOMPARE(field(kLessonFileField), dir_.filePath(written));
        }
        QVERIFY(editor_->isSaved());
        QCOMPARE(settings_->value("savePath2"), dir_.path());
        // A saved lesson closes without a question.
        prompts_.questions.clear();
        click(kButtonLessonClose);
        QVERIFY(prompts_.questions.isEmpty());
    }

    void anOxaImportChecksTheTitlesInOrder() {
        const struct {
            const char* fanti;
            const char* english;
            QString message;
            ControlId focus;
        } cases[] = {
            {"", "Colours", u"Please give a Traditional Chinese Title of the lesson."_s, kLessonFantiField},
            {"顏色", "  ", u"Please give an English Title of the lesson."_s, kLessonEnglishField}};
        for (const auto& c : cases) {
            reporter_.messages.clear();
            type(kLessonJiantiField, u"颜色"_s);
            type(kLessonFantiField, QString::fromUtf8(c.fanti));
            type(kLessonPinyinField, u"yan2 se4"_s);
            type(kLessonJyutpingField, u"ngaan4 sik1"_s);
            type(kLessonEnglishField, QString::fromUtf8(c.english));
            click(kButtonLessonImport);
            QCOMPARE(reporter_.messages, QStringList{c.message});
            QVERIFY(editor_->control(c.focus)->hasFocus());
        }
        QVERIFY(notices_.empty());
        type(kLessonEnglishField, u"Colours"_s);
        click(kButtonAddSection);
        click(kButtonLessonImport);
        QCOMPARE(notices_, (std::vector<Notice>{{LessonFormat::Oxa, 6, 1}}));
        QCOMPARE(reporter_.messages.last(), u"Oxa Format Lesson imported successfully."_s);
        QCOMPARE(editor_->current(), 0); // the import goes to the title record first
        Lesson imported;
        QVERIFY(lessons_->oxa().LoadOxaLesson(6, imported));
        QCOMPARE(imported, editor_->lesson());

        // The library lesson can be exported and deleted from the editor.
        editor_->OpenLesson(6);
        prompts_.savePath = dir_.filePath("exported");
        click(kButtonLessonSave);
        QCOMPARE(reporter_.messages.last(), u"Oxa Format Lesson exported successfully."_s);
        Lesson exported;
        QVERIFY(ReadOxaFile(dir_.filePath("exported.oxa"), exported, true));
        QCOMPARE(exported, imported);
        prompts_.answer = true;
        click(kButtonLessonDelete);
        QCOMPARE(notices_.back(), (Notice{LessonFormat::Oxa, 6, 2}));
        QVERIFY(!QFile::exists(lessons_->oxa().lessonPath(6)));
        QVERIFY(editor_->isEditMode() && !editor_->isLibraryLesson());
    }

    void anHtmlImportChecksInOrder() {
        editor_->SetMode(LessonEditor::Mode::Html);
        QCOMPARE(editor_->htmlList()->currentText(), u"-- Select A Lesson to Export --"_s);
        QCOMPARE(editor_->htmlList()->count(), 2);
        QVERIFY(!enabled(kButtonLessonSave) && enabled(kButtonLessonImport) && !enabled(kButtonFirstRecord));
        const QString web = dir_.filePath("web");
        QVERIFY(QDir().mkpath(web));
        QVERIFY(QFile(web + "/start.html").open(QIODevice::WriteOnly));
        const QString library = lessons_->html().folder();
        const struct {
            QString root, page, jianti;
            QString message;
            ControlId focus;
        } cases[] = {
            {"", "", "", u"Please give the folder that contains the HTML lesson to be imported."_s,
             kButtonLessonOpen},
            {library.toUpper() + "/1", "", "",
             u"A given Root folder cannot be a subfolder of "_s + library + u'/', kButtonLessonOpen},
            {web, "", "", u"Please choose the default index file of the HTML lesson to be imported."_s,
             kButtonLessonBrowse},
            {web, web + "/index.html", "", u"Cannot find the given default index file."_s,
             kButtonLessonBrowse},
            {web, web + "/start.html", "", u"Please give a Simplified Chinese Title of the lesson."_s,
             kLessonJiantiField},
        };
        for (const auto& c : cases) {
            reporter_.messages.clear();
            type(kLessonFileField, c.root);
            type(kLessonTagField, c.page);
            type(kLessonJiantiField, c.jianti);
            click(kButtonLessonImport);
            QCOMPARE(reporter_.messages, QStringList{c.message});
            QVERIFY2(editor_->control(c.focus)->hasFocus(), qPrintable(c.message));
        }
        // The file Browse sets both fields and remembers the folder.
        prompts_.page = web + "/start.html";
        click(kButtonLessonBrowse);
        QCOMPARE(field(kLessonFileField), web + u'/');
        QCOMPARE(settings_->value("savePath3"), web);
        for (const auto& [id, text] :
             {std::pair{kLessonJiantiField, u"开始"_s}, std::pair{kLessonFantiField, u"開始"_s},
              std::pair{kLessonPinyinField, u"kai1 shi3"_s}, std::pair{kLessonJyutpingField, u"hoi1 ci2"_s},
              std::pair{kLessonEnglishField, u"Start"_s}})
            type(id, text);
        click(kButtonLessonImport);
        QCOMPARE(reporter_.messages.last(), u"HTML Lesson imported successfully."_s);
        QCOMPARE(notices_, (std::vector<Notice>{{LessonFormat::Html, 2, 1}}));
        QCOMPARE(editor_->htmlList()->itemText(2), u"Start"_s);

        // Choosing a lesson shows its entry; Delete removes it after asking.
        editor_->htmlList()->setCurrentIndex(2);
        QMetaObject::invokeMethod(editor_->htmlList(), "activated", Q_ARG(int, 2));
        QCOMPARE(field(kLessonFileField), u"Lesson ID: 2"_s);
        QCOMPARE(field(kLessonTagField), u"start.html"_s);
        QVERIFY(enabled(kButtonLessonDelete) && !enabled(kButtonLessonImport));
        prompts_.answer = true;
        click(kButtonLessonDelete);
        QCOMPARE(notices_.back(), (Notice{LessonFormat::Html, 2, 2}));
        QCOMPARE(editor_->htmlList()->count(), 2);

        // Back in Oxa mode a new, empty lesson waits.
        editor_->SetMode(LessonEditor::Mode::Oxa);
        QCOMPARE(editor_->lesson(), Lesson::NewLesson());
        QVERIFY(enabled(kButtonLessonImport) && enabled(kButtonLessonSave));
    }

    void openingAFileWithoutSectionsKeepsTheLesson() {
        type(kLessonEnglishField, u"Kept"_s);
        QFile bad(dir_.filePath("bad.oxa"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("[0:title]\njt=x\n") > 0);
        bad.close();
        prompts_.openPath = bad.fileName();
        click(kButtonLessonOpen); // the question is answered No
        QCOMPARE(reporter_.messages, QStringList{u"Cannot load the given lesson file."_s});
        QCOMPARE(field(kLessonEnglishField), u"Kept"_s);
    }

    void cleanup() { editor_.reset(); }
};

QTEST_MAIN(LessonEditorTest)
#include "LessonEditorTest.moc"
