// The Oxa lesson file, its parser and writer, and the Oxa lesson library.
#include "lessons/format/LessonText.h"
#include "lessons/format/OxaFile.h"
#include "lessons/format/ReplaceFile.h"
#include "lessons/library/OxaLibrary.h"
#include "tests/support/LessonFiles.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillory {
namespace {

using testing::ReadFile;
using testing::SectionLines;
using testing::TaggedLesson;
using testing::TaggedSection;
using testing::Titles;
using testing::WriteFile;

class OxaLibraryTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    RecordingReporter reporter_;
    OxaLessonLibrary library_{dir_.filePath(QStringLiteral("lesson/oxa")), reporter_};
};

TEST(OxaFileParser, ReadsSectionsByTheStrictLineRules) {
    const struct {
        const char* name;
        QByteArray file;
        bool clear;
        QStringList titles; // record 0 first; empty: the read fails
    } cases[] = {
        {"first section becomes the title record",
         SectionLines("[0:title]", "t") + SectionLines("[1:a]", "a"),
         true,
         {"title", "a"}},
        {"without clear the sections follow the kept title record",
         SectionLines("[1:a]", "a"),
         false,
         {"kept", "a"}},
        {"only the first colon separates",
         SectionLines("[7:Greetings: morning]", "g"),
         true,
         {"Greetings: morning"}},
        {"a title is cut at the first ]", SectionLines("[1:a]b]", "a"), true, {"a"}},
        {"a header without ] keeps the rest and its line break",
         SectionLines("[1:open", "a"),
         true,
         {"open\n"}},
        {"a header where ft= belongs is consumed: two sections are lost",
         QByteArray("[1:a]\njt=x\n") + SectionLines("[2:b]", "b") + SectionLines("[3:c]", "c"),
         true,
         {"c"}},
        {"reading goes on after the offending line",
         QByteArray("[1:a]\njt=x\npy=x\njp=x\nen=x\n") + SectionLines("[2:b]", "b"),
         true,
         {"b"}},
        {"keys are case-sensitive and not indented",
         QByteArray("[1:a]\n jt=x\nft=x\npy=x\njp=x\nen=x\n") + SectionLines("[2:b]", "b") +
             QByteArray("[3:c]\nJT=x\n") + SectionLines("[4:d]", "d"),
         true,
         {"b", "d"}},
        {"a header without a colon and other lines are skipped",
         QByteArray("junk\n[no colon]\n\n") + SectionLines("[1:a]", "a"),
         true,
         {"a"}},
        {"end of file before en= drops the section",
         SectionLines("[1:a]", "a") + "[2:b]\njt=\nft=\npy=\njp=\n",
         true,
         {"a"}},
        {"CR LF line ends", SectionLines("[1:a]", "a").replace("\n", "\r\n"), true, {"a"}},
        {"no complete section gives no record", "[1:a]\njt=x\n", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lesson lesson{{TaggedSection(QStringLiteral("kept"), QStringLiteral("k")), LessonSection{}}};
        EXPECT_EQ(ParseOxaSections(c.file, lesson, c.clear), !c.titles.isEmpty());
        EXPECT_EQ(Titles(lesson), c.titles);
    }
}

TEST(OxaFileParser, ValuesKeepTheirTextAndAllRecordsStopAt999) {
    Lesson lesson;
    ASSERT_TRUE(ParseOxaSections(SectionLines("[1:a]", "a"), lesson, true));
    EXPECT_EQ(lesson.records[0], TaggedSection("a", "a"));

    // GBK Chinese reads unchanged; English bytes that are no UTF-8 read byte by byte.
    const QByteArray gbk = EncodeGbk(u"中文 學習"_qs).value();
    ASSERT_TRUE(
        ParseOxaSections("[0:t]\njt=" + gbk + "\nft=" + gbk + "\npy=\njp=\nen=caf\xE9\n", lesson, true));
    EXPECT_EQ(lesson.records[0].jt, u"中文 學習"_qs);
    EXPECT_EQ(lesson.records[0].en, u"café"_qs);

    QByteArray many;
    for (int i = 0; i < 1005; ++i) {
        many += SectionLines("[" + QByteArray::number(i) + ":s]", QByteArray::number(i));
    }
    ASSERT_TRUE(ParseOxaSections(many, lesson, true));
    EXPECT_EQ(lesson.count(), 999);
    EXPECT_EQ(lesson.records.back().en, u"en-998"_qs);
}

TEST(OxaFileWriter, StandaloneFilesReadBackWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("lesson.oxa");
    Lesson lesson = TaggedLesson(3);
    // Text outside GBK, line breaks, a backslash and UTF-8 English survive.
    lesson.records[1].jt = QString::fromUcs4(U"𠀀中\U0001F600");
    lesson.records[1].ft = u"第一行\n第二行"_qs;
    lesson.records[2].en = u"two\r\nlines, café, C:\\dir"_qs;
    RecordingReporter reporter;
    ASSERT_TRUE(WriteOxaFile(path, lesson, reporter));
    const QByteArray bytes = ReadFile(path);
    EXPECT_TRUE(bytes.startsWith("[0:title]\njt=jt-title\nft=ft-title\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("ft=" + EncodeGbk(u"第一行"_qs).value() + "\\n"));

    Lesson read;
    ASSERT_TRUE(ReadOxaFile(path, read, true));
    lesson.records[2].en = u"two\nlines, café, C:\\dir"_qs; // CR LF reads back as one line break
    EXPECT_EQ(read, lesson);

    // A file that cannot be created is reported and leaves the lesson as it was.
    EXPECT_FALSE(WriteOxaFile(dir.filePath("missing/folder/x.oxa"), lesson, reporter));
    EXPECT_EQ(reporter.messages,
              QStringList{"Cannot open " + dir.filePath("missing/folder/x.oxa") + " to read or write."});
    EXPECT_FALSE(ReadOxaFile(dir.filePath("none.oxa"), read, true));
    EXPECT_EQ(read, lesson);
}

TEST_F(OxaLibraryTest, FirstLessonCreatesTheIndexAndItsFile) {
    Lesson lesson = TaggedLesson(2);
    EXPECT_EQ(library_.AddOxaLesson(lesson), 1);
    EXPECT_EQ(ReadFile(library_.indexPath()),
              "\n[1]\nen=en-title\njt=jt-title\nft=ft-title\npy=py-title\njp=jp-title\n");
    EXPECT_EQ(ReadFile(library_.lessonPath(1)), SectionLines("[1:s1]", "1") + SectionLines("[2:s2]", "2"));

    // Loading gives the title record from the index, the sections from the file.
    Lesson loaded;
    ASSERT_TRUE(library_.LoadOxaLesson(1, loaded));
    EXPECT_EQ(loaded, lesson);
    // The same file opened as a standalone file starts with its first section.
    ASSERT_TRUE(ReadOxaFile(library_.lessonPath(1), loaded, true));
    EXPECT_EQ(Titles(loaded), (QStringList{"s1", "s2"}));

    // A lesson of its title record only gets an empty file and loads as one record.
    EXPECT_EQ(library_.AddOxaLesson(TaggedLesson(0)), 2);
    EXPECT_EQ(ReadFile(library_.lessonPath(2)), QByteArray());
    EXPECT_TRUE(library_.LoadOxaLesson(2, loaded));
    EXPECT_EQ(loaded.count(), 1);
    // A missing lesson file gives the title record only.
    QFile::remove(library_.lessonPath(1));
    EXPECT_FALSE(library_.LoadOxaLesson(1, loaded));
    EXPECT_EQ(loaded.records, std::vector<LessonSection>{lesson.records[0]});
    EXPECT_TRUE(reporter_.messages.isEmpty());
}

TEST_F(OxaLibraryTest, NewIdsAreTheSmallestFreeWholeNumbers) {
    const struct {
        QByteArray index;
        int id;
    } cases[] = {{"\n[1]\nen=a\n\n[2]\nen=b\n\n[4]\nen=c\n", 3},
                 {"\n[12]\nen=a\n", 1},
                 {"\n[01]\n[1:x]\nen=[1]\n", 1}, // only "[1]" itself on a "[" line takes 1
                 {"[3][1]x\n[2]\n", 4},
                 {"", 1}};
    QDir().mkpath(library_.folder());
    EXPECT_EQ(library_.NewOxaLessonId(), 1); // no index at all
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFile(library_.indexPath(), c.index));
        EXPECT_EQ(library_.NewOxaLessonId(), c.id) << c.index.toStdString();
    }
}

TEST_F(OxaLibraryTest, IndexEnumerationAndLookUp) {
    QDir().mkpath(library_.folder());
    const QByteArray gbk = EncodeGbk(u"你好"_qs).value();
    ASSERT_TRUE(WriteFile(library_.indexPath(), "\n[1]\nen=One\npy=yi1\njt=" + gbk +
                                                    "\n\n[2]\nen=Two\n\n[junk]\npy=lost\n\n[3]\npy=san1\n"
                                                    "\n[4]\nen=Four\n"));
    const struct {
        const char* key;
        std::vector<LessonEntry> lessons;
    } cases[] = {{"py=", {{1, "yi1"}, {3, "san1"}, {4, ""}}}, // the last entry comes even without the key
                 {"en=", {{1, "One"}, {2, "Two"}, {4, "Four"}}},
                 {"jt=", {{1, u"你好"_qs}, {4, ""}}}};
    for (const auto& c : cases) {
        EXPECT_EQ(library_.Lessons(c.key), c.lessons) << c.key;
    }
    // Opening again starts over; the enumeration ends with -1.
    QString value;
    ASSERT_TRUE(library_.OpenOxaIndex());
    EXPECT_EQ(library_.NextOxaLesson("en=", value), 1);
    ASSERT_TRUE(library_.OpenOxaIndex());
    EXPECT_EQ(library_.NextOxaLesson("en=", value), 1);
    EXPECT_EQ(library_.NextOxaLesson("jp=", value), 4);
    EXPECT_EQ(library_.NextOxaLesson("jp=", value), -1);
    library_.CloseOxaIndex();
    EXPECT_EQ(library_.NextOxaLesson("en=", value), -1);

    EXPECT_TRUE(library_.ReadOxaIndexValue(1, "jt=", value));
    EXPECT_EQ(value, u"你好"_qs);
    EXPECT_TRUE(library_.ReadOxaIndexValue(9, "en=", value));
    EXPECT_TRUE(value.isEmpty());
    QFile::remove(library_.indexPath());
    EXPECT_FALSE(library_.ReadOxaIndexValue(1, "en=", value));
    EXPECT_FALSE(library_.OpenOxaIndex());
}

TEST_F(OxaLibraryTest, RemovalRewritesTheIndexWithoutTheLesson) {
    for (int i = 0; i < 3; ++i) {
        library_.AddOxaLesson(TaggedLesson(i + 1));
    }
    const QByteArray before = ReadFile(library_.indexPath());
    ASSERT_TRUE(library_.RemoveOxaLesson(2));
    QByteArray expected = before;
    expected.remove(before.indexOf("\n[2]"), before.indexOf("\n[3]") - before.indexOf("\n[2]"));
    EXPECT_EQ(ReadFile(library_.indexPath()), expected);
    EXPECT_FALSE(QFile::exists(library_.lessonPath(2)));
    EXPECT_EQ(library_.Lessons("en="), (std::vector<LessonEntry>{{1, "en-title"}, {3, "en-title"}}));
    // The freed id is the next one given.
    EXPECT_EQ(library_.AddOxaLesson(TaggedLesson(0)), 2);
    EXPECT_TRUE(library_.RemoveOxaLesson(7)); // no such lesson: nothing to do

    // Exporting writes the standalone form.
    ASSERT_TRUE(library_.ExportOxaLesson(3, path("three.oxa")));
    Lesson exported;
    ASSERT_TRUE(ReadOxaFile(path("three.oxa"), exported, true));
    EXPECT_EQ(exported, TaggedLesson(3));
}

TEST_F(OxaLibraryTest, AnIndexThatCannotBeWrittenIsReported) {
    QDir().mkpath(library_.folder());
    ASSERT_TRUE(QDir().mkpath(library_.indexPath())); // a folder where the index should be
    EXPECT_EQ(library_.AddOxaLesson(TaggedLesson(1)), -1);
    EXPECT_EQ(reporter_.messages, QStringList{"Cannot open " + library_.indexPath() + " to read or write."});
    EXPECT_FALSE(QFile::exists(library_.lessonPath(1)));
}

// A process that stops after writing a new file and before renaming it over
// the old one leaves the old file whole.
TEST_F(OxaLibraryTest, ACrashBeforeTheRenameLeavesTheOldFile) {
    library_.AddOxaLesson(TaggedLesson(1));
    ASSERT_TRUE(WriteOxaFile(path("own.oxa"), TaggedLesson(1), reporter_));
    const struct {
        const char* name;
        QString file;
        std::function<void()> rewrite;
    } cases[] = {{"index append", library_.indexPath(), [this] { library_.AddOxaLesson(TaggedLesson(4)); }},
                 {"index removal", library_.indexPath(), [this] { library_.RemoveOxaLesson(1); }},
                 {"standalone file", path("own.oxa"),
                  [this] { WriteOxaFile(path("own.oxa"), TaggedLesson(5), reporter_); }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = ReadFile(c.file);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SetBeforeReplaceHook([file = c.file](const QString& replaced) {
                if (replaced == file) {
                    _exit(7);
                }
            });
            c.rewrite();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
        EXPECT_EQ(ReadFile(c.file), before);
    }
    EXPECT_EQ(library_.Lessons("en=").size(), 1u);
}

} // namespace
} // namespace quillory
