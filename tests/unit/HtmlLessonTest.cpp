// The HTML lesson library, the folder copy and where the libraries live.
#include "dictionary/text/GbkCodec.h"
#include "lessons/library/FolderCopy.h"
#include "lessons/library/HtmlLibrary.h"
#include "lessons/library/LessonFolders.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quillory {
namespace {

using testing::FolderContents;
using testing::ReadFile;
using testing::WriteFile;

// Writes each "relative/path" with its name as content, making folders.
void MakeFiles(const QString& root, const QStringList& files) {
    for (const QString& file : files) {
        const QString path = root + u'/' + file;
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(WriteFile(path, file.toUtf8()));
    }
}

class HtmlLibraryTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    int Import(const QString& root, const QString& en = QStringLiteral("Lesson")) {
        return library_.ImportHtmlLesson(root, root + QStringLiteral("/index.html"), u"课"_qs, u"課"_qs,
                                         "ke4", "fo3", en);
    }
    QTemporaryDir dir_;
    RecordingReporter reporter_;
    HtmlLessonLibrary library_{dir_.filePath(QStringLiteral("lesson/html")), reporter_};
};

TEST_F(HtmlLibraryTest, ImportCopiesTheFolderAndNamesTheIndexPageOnly) {
    MakeFiles(path("web"), {"index.html", "pics/a.png", "pics/deep/b.png", ".hidden"});
    ASSERT_EQ(Import(path("web")), 1);
    EXPECT_EQ(ReadFile(library_.indexPath()),
              "\n[1]\nidx=index.html\nen=Lesson\njt=" + EncodeGbk(u"课"_qs).value() +
                  "\nft=" + EncodeGbk(u"課"_qs).value() + "\npy=ke4\njp=fo3\n");
    EXPECT_EQ(FolderContents(library_.lessonFolder(1)), (QStringList{".hidden", "index.html", "pics"}));
    EXPECT_EQ(ReadFile(library_.lessonFolder(1) + "/pics/deep/b.png"), "pics/deep/b.png");
    EXPECT_EQ(library_.OpenHtmlLesson(1), library_.lessonFolder(1) + "/index.html");
    // An id without an entry opens the lesson folder itself.
    EXPECT_EQ(library_.OpenHtmlLesson(5), library_.lessonFolder(5));

    // The drop-down list leaves out entries without an English title.
    ASSERT_EQ(Import(path("web"), QString()), 2);
    ASSERT_EQ(Import(path("web"), "Third"), 3);
    std::vector<LessonEntry> list;
    ASSERT_TRUE(library_.FillHtmlLessonList(list));
    EXPECT_EQ(list, (std::vector<LessonEntry>{{1, "Lesson"}, {3, "Third"}}));

    // Removal drops the entry and the folder; export copies the folder out.
    ASSERT_TRUE(library_.ExportHtmlLesson(1, path("out")));
    EXPECT_EQ(ReadFile(path("out/pics/a.png")), "pics/a.png");
    ASSERT_TRUE(library_.RemoveHtmlLesson(1));
    EXPECT_FALSE(QFileInfo::exists(library_.lessonFolder(1)));
    EXPECT_EQ(library_.Lessons("en="), (std::vector<LessonEntry>{{2, ""}, {3, "Third"}}));
    EXPECT_FALSE(library_.ExportHtmlLesson(1, path("out2")));
    EXPECT_TRUE(reporter_.messages.isEmpty());
}

TEST_F(HtmlLibraryTest, AFailedCopyAddsNoEntry) {
    // The library inside the root folder: the copy would go into itself.
    MakeFiles(dir_.path(), {"index.html"});
    EXPECT_EQ(Import(dir_.path()), -1);
    EXPECT_FALSE(QFileInfo::exists(library_.indexPath()));
    EXPECT_FALSE(QFileInfo::exists(library_.lessonFolder(1)));
    EXPECT_FALSE(library_.FillHtmlLessonList(*std::make_unique<std::vector<LessonEntry>>()));
}

TEST_F(HtmlLibraryTest, InsideTheLibraryIgnoresLetterCase) {
    const QString lib = library_.folder();
    const struct {
        QString path;
        bool inside;
    } cases[] = {{lib, true},
                 {lib + "/", true},
                 {lib + "/3/pics", true},
                 {lib.toUpper() + "/3", true},
                 {lib + "/../html/7", true},
                 {lib + "2", false},
                 {path("lesson/oxa"), false},
                 {path("web"), false}};
    for (const auto& c : cases) {
        EXPECT_EQ(library_.IsInsideHtmlLibrary(c.path), c.inside) << c.path.toStdString();
    }
}

TEST(FolderCopy, ReplacesFilesAndNeverFollowsLinksOrCopiesIntoItself) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source"), target = dir.filePath("target");
    MakeFiles(source, {"a.html", "sub/b.html"});
    MakeFiles(target, {"a.html"});
    ASSERT_TRUE(WriteFile(target + "/a.html", "old"));
    MakeFiles(dir.filePath("private"), {"secret.txt"});
    ASSERT_TRUE(QFile::link(dir.filePath("private"), source + "/linked-folder"));
    ASSERT_TRUE(QFile::link(dir.filePath("private/secret.txt"), source + "/linked-file"));
    ASSERT_TRUE(QFile::link(source, source + "/sub/loop"));

    ASSERT_TRUE(CopyFolderTree(source, target));
    EXPECT_EQ(FolderContents(target), (QStringList{"a.html", "sub"}));
    EXPECT_EQ(FolderContents(target + "/sub"), QStringList{"b.html"});
    EXPECT_EQ(ReadFile(target + "/a.html"), "a.html");

    // Into itself, into a subfolder, or through a link to itself: refused, nothing made.
    ASSERT_TRUE(QFile::link(source, dir.filePath("alias")));
    for (const QString& into :
         {source, source + "/sub/new", dir.filePath("alias/new"), source + "/sub/loop/x"}) {
        EXPECT_FALSE(CopyFolderTree(source, into)) << into.toStdString();
    }
    EXPECT_EQ(FolderContents(source + "/sub"), (QStringList{"b.html", "loop"}));
    // Removing a copied tree leaves what links pointed at.
    ASSERT_TRUE(QDir(source).removeRecursively());
    EXPECT_EQ(ReadFile(dir.filePath("private/secret.txt")), "secret.txt");
}

TEST(LessonFolders, BesideTheProgramOrACopyInTheUsersFolder) {
    QTemporaryDir dir;
    const QString program = dir.filePath("program"), user = dir.filePath("user");
    MakeFiles(program, {"lesson/oxa/oxaLesson.idx", "lesson/oxa/1.oxa", "lesson/html/htmlLesson.idx",
                        "lesson/html/1/index.html"});
    const auto writable = [](const LessonFolders&) { return true; };
    const auto readOnly = [](const LessonFolders&) { return false; };

    EXPECT_EQ(ChooseLessonFolders(program, user, writable).oxa, program + "/lesson/oxa");
    const LessonFolders chosen = ChooseLessonFolders(program, user, readOnly);
    EXPECT_EQ(chosen.oxa, user + "/lesson/oxa");
    EXPECT_EQ(chosen.html, user + "/lesson/html");
    EXPECT_EQ(FolderContents(chosen.oxa), (QStringList{"1.oxa", "oxaLesson.idx"}));
    EXPECT_EQ(ReadFile(chosen.html + "/1/index.html"), "lesson/html/1/index.html");
    // The user's library, once made, is the user's: it is not seeded again.
    QFile::remove(chosen.oxa + "/1.oxa");
    ChooseLessonFolders(program, user, readOnly);
    EXPECT_EQ(FolderContents(chosen.oxa), QStringList{"oxaLesson.idx"});

    // Folders are writable when they, or their nearest existing parent, are.
    EXPECT_TRUE(CanWriteLessonFolders(LessonFoldersIn(program)));
    EXPECT_TRUE(CanWriteLessonFolders(LessonFoldersIn(dir.filePath("not/yet"))));
    QFile::setPermissions(program + "/lesson/oxa/oxaLesson.idx", QFileDevice::ReadOwner);
    EXPECT_EQ(CanWriteLessonFolders(LessonFoldersIn(program)), getuid() == 0);
}

} // namespace
} // namespace quillory
