// The lesson libraries in the real main window: the tree lists both, in the
// interface language, follows the libraries' notices, and a click on an HTML
// lesson opens its index page in the user's browser.
#include "app/window/MainWindow.h"
#include "controls/tree/CategoryTree.h"
#include "lessons/editor/LessonEditor.h"
#include "lessons/library/FolderCopy.h"
#include "tests/support/LessonFiles.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;

class LessonTreeTest : public QObject {
    Q_OBJECT

    QTemporaryDir dataCopy_;
    QTemporaryDir lessons_;
    testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    QStringList opened_;
    std::unique_ptr<MainWindow> window_;

    // The titles listed under a lesson category, in order.
    QStringList listed(LessonFormat format) const {
        QStringList titles;
        if (QTreeWidgetItem* category = window_->tree()->FindItemByData(LessonCategoryData(format)))
            for (int i = 0; i < category->childCount(); ++i)
                titles.append(category->child(i)->text(0));
        return titles;
    }

private slots:
    void initTestCase() {
        QVERIFY(testing::LinkDataFolder(QStringLiteral(QUILLORY_DATA_DIR), dataCopy_.path()));
        QVERIFY(CopyFolderTree(QStringLiteral(QUILLORY_SOURCE_DIR "/lessons/samples"), lessons_.path()));
        auto record = [this](const QUrl& url) { return opened_.append(url.toString()), true; };
        MainWindowEnvironment environment{dataCopy_.path(), &settings_.store(), record, &reporter_};
        environment.lessonFolder = lessons_.path();
        window_ = std::make_unique<MainWindow>(environment);
        QVERIFY(window_->Initialise());
        window_->ShowYourself();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void theShippedLessonsAreListedInTheInterfaceLanguage() {
        window_->SetLanguage(kEnglish);
        QCOMPARE(listed(LessonFormat::Oxa),
                 (QStringList{"Greetings", "Numbers", "Family", "Food", "Directions"}));
        QCOMPARE(listed(LessonFormat::Html), QStringList{"The Four Tones"});
        window_->SetLanguage(kFanti);
        QCOMPARE(listed(LessonFormat::Oxa),
                 (QStringList{u"問候"_s, u"數字"_s, u"家人"_s, u"食物"_s, u"方向"_s}));
        QCOMPARE(listed(LessonFormat::Html), QStringList{u"四聲"_s});
        window_->SetLanguage(kJyutping);
        QCOMPARE(listed(LessonFormat::Oxa).value(0), u"man6 hau6"_s);
        window_->SetLanguage(kEnglish);
    }

    void importsAndRemovalsChangeTheTreeAtOnce() {
        Lesson lesson = testing::TaggedLesson(2);
        lesson.records[0].en = u"Weather"_s;
        const int id = window_->lessons().oxa().AddOxaLesson(lesson);
        QCOMPARE(id, 6);
        window_->PostLessonNotice(LessonFormat::Oxa, std::uint16_t(id), 1);
        QTRY_COMPARE(listed(LessonFormat::Oxa).value(5), u"Weather"_s);

        QVERIFY(window_->lessons().html().RemoveHtmlLesson(1));
        window_->PostLessonNotice(LessonFormat::Html, 1, kRemoveLessonAction);
        QTRY_VERIFY(listed(LessonFormat::Html).isEmpty());
        // A removal for an id without an item changes nothing.
        window_->PostLessonNotice(LessonFormat::Oxa, 40, kRemoveLessonAction);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(listed(LessonFormat::Oxa).size(), 6);
        QVERIFY(reporter_.messages.isEmpty());
    }

    void aClickOnAnHtmlLessonOpensItsIndexPage() {
        const int id = window_->lessons().html().ImportHtmlLesson(
            QStringLiteral(QUILLORY_SOURCE_DIR "/lessons/samples/html/1"), u"index.html"_s, u"四声"_s,
            u"四聲"_s, u"si4 sheng1"_s, u"sei3 sing1"_s, u"Tones again"_s);
        QVERIFY(id > 0);
        window_->PostLessonNotice(LessonFormat::Html, std::uint16_t(id), 1);
        QTRY_COMPARE(listed(LessonFormat::Html), QStringList{u"Tones again"_s});

        CUniTreeCtrl* tree = window_->tree();
        QTreeWidgetItem* item = tree->FindItemByData(LessonItemData(LessonFormat::Html, std::uint16_t(id)));
        QVERIFY(item);
        tree->scrollToItem(item);
        opened_.clear();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        const QString page =
            QUrl::fromLocalFile(lessons_.filePath(u"html/%1/index.html"_s.arg(id))).toString();
        QTRY_COMPARE(opened_, QStringList{page});
        QVERIFY(QFileInfo::exists(QUrl(page).toLocalFile()));
    }

    void aClickOnAnOxaLessonShowsItInTheEditor() {
        CUniTreeCtrl* tree = window_->tree();
        QTreeWidgetItem* item = tree->FindItemByData(LessonItemData(LessonFormat::Oxa, 3));
        QVERIFY(item);
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        QTRY_VERIFY(window_->lessonEditor() && window_->lessonEditor()->isVisible());
        LessonEditor* editor = window_->lessonEditor();
        QCOMPARE(editor->windowTitle(), u"Tessaravin - Quillory - Oxa Lesson (1/13 : Family)"_s);
        QVERIFY(!editor->isEditMode());
        // Tools > Lesson Editor starts a new lesson, whose import the tree lists at once.
        window_->menuAction(kMenuToolsEditor)->trigger();
        QVERIFY(editor->isEditMode() && editor->lesson().count() == 1);
        const std::pair<ControlId, QString> titles[] = {{kLessonJiantiField, u"颜色"_s},
                                                        {kLessonFantiField, u"顏色"_s},
                                                        {kLessonPinyinField, u"yan2 se4"_s},
                                                        {kLessonJyutpingField, u"ngaan4 sik1"_s},
                                                        {kLessonEnglishField, u"Colours"_s}};
        for (const auto& [id, text] : titles)
            editor->text(id)->setPlainText(text);
        editor->button(kButtonLessonImport)->click();
        QTRY_COMPARE(listed(LessonFormat::Oxa).last(), u"Colours"_s);
        editor->hide();
    }

    void cleanupTestCase() {
        window_->ExitProgram();
        window_.reset();
    }
};

QTEST_MAIN(LessonTreeTest)
#include "LessonTreeTest.moc"
