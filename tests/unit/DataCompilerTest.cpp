// The data compiler end to end on the small source extracts.
#include "datagen/DataCompiler.h"
#include "datagen/StagingFolder.h"
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataIndex.h"
#include "dictionary/lists/CharacterLists.h"
#include "dictionary/records/RecordStore.h"
#include "pages/builders/PlainListPage.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SmallData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

using quillory::testing::BuildSmallDataFolder;
using quillory::testing::SmallDataInputs;
using ::testing::HasSubstr;

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FolderContents(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

bool WriteFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

TEST(StagingFolder, MovesAllFilesOrNone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir out(dir.filePath(QStringLiteral("demo")));
    ASSERT_TRUE(QDir().mkpath(out.path()));
    ASSERT_TRUE(WriteFile(out.filePath(QStringLiteral("a.dat")), "old a"));
    ASSERT_TRUE(WriteFile(out.filePath(QStringLiteral("c.dat")), "old c"));
    // A folder where c.dat's old copy would be put aside makes the third move fail.
    ASSERT_TRUE(QDir().mkpath(out.filePath(QStringLiteral(".c.dat.replaced/x"))));

    {
        StagingFolder staging(out.path());
        QString error;
        ASSERT_TRUE(staging.Create(&error)) << error.toStdString();
        for (const char* name : {"a.dat", "b.dat", "c.dat"})
            ASSERT_TRUE(WriteFile(staging.FilePath(QString::fromLatin1(name)), QByteArray("new ") + name));
        EXPECT_FALSE(staging.Commit(&error));
        EXPECT_THAT(error.toStdString(), HasSubstr("c.dat"));
    }
    EXPECT_EQ(ReadFile(out.filePath(QStringLiteral("a.dat"))), "old a");
    EXPECT_EQ(ReadFile(out.filePath(QStringLiteral("c.dat"))), "old c");
    EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("b.dat"))));
    EXPECT_EQ(FolderContents(dir.path()), QStringList{QStringLiteral("demo")});

    ASSERT_TRUE(QDir(out.filePath(QStringLiteral(".c.dat.replaced"))).removeRecursively());
    StagingFolder staging(out.path());
    QString error;
    ASSERT_TRUE(staging.Create(&error));
    for (const char* name : {"a.dat", "b.dat", "c.dat"})
        ASSERT_TRUE(WriteFile(staging.FilePath(QString::fromLatin1(name)), QByteArray("new ") + name));
    ASSERT_TRUE(staging.Commit(&error)) << error.toStdString();
    EXPECT_EQ(ReadFile(out.filePath(QStringLiteral("a.dat"))), "new a.dat");
    EXPECT_EQ(ReadFile(out.filePath(QStringLiteral("c.dat"))), "new c.dat");
    EXPECT_EQ(FolderContents(out.path()),
              (QStringList{QStringLiteral("a.dat"), QStringLiteral("b.dat"), QStringLiteral("c.dat")}));
}

// Into a folder that holds an old index and a file of its own: every file
// written, the old index replaced, the other file kept, a summary given.
TEST(DataCompiler, WritesEveryFileReplacesOnlyItsOwnAndSummarises) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir out(dir.filePath(QStringLiteral("demo")));
    ASSERT_TRUE(QDir().mkpath(out.path()));
    ASSERT_TRUE(WriteFile(out.filePath(QStringLiteral("oxa.dat")), "old index"));
    ASSERT_TRUE(WriteFile(out.filePath(QStringLiteral("def.dat")), "stroke font"));
    QString progressText, error;
    QTextStream progress(&progressText);
    ASSERT_TRUE(CompileData(SmallDataInputs(out.path()), progress, &error)) << error.toStdString();
    progress.flush();

    for (const char* name : {"oxa.dat", "ghi.dat", "ijk.dat", "jkl.dat", "hij.dat", "records.db"})
        EXPECT_GT(QFileInfo(out.filePath(QString::fromLatin1(name))).size(), 0) << name;
    EXPECT_NE(ReadFile(out.filePath(QStringLiteral("oxa.dat"))), "old index");
    EXPECT_EQ(ReadFile(out.filePath(QStringLiteral("def.dat"))), "stroke font");
    EXPECT_EQ(FolderContents(out.path()).size(), CompiledDataFiles().size() + 1);
    // Nothing of the staging folder is left beside the data folder.
    EXPECT_EQ(FolderContents(dir.path()), QStringList{QStringLiteral("demo")});

    for (const char* line :
         {"characters: 55", "words: 236", "Pinyin syllables: ", "chunks: ", "records.db: ", "total time: "})
        EXPECT_THAT(progressText.toStdString(), HasSubstr(line));
    const QByteArray licenses = ReadFile(out.filePath(QStringLiteral("LICENSES.txt")));
    for (const char* notice :
         {"CC-CEDICT", "creativecommons.org/licenses/by-sa/4.0", "BSD 2-Clause", "Unicode"})
        EXPECT_TRUE(licenses.contains(notice)) << notice;
}

TEST(DataCompiler, FailingInputsLeaveTheDataFolderAsItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("demo"));
    ASSERT_TRUE(QDir().mkpath(out));
    QFile old(QDir(out).filePath(QStringLiteral("oxa.dat")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old index");
    old.close();

    struct Case {
        const char* what;
        void (*spoil)(CompilerInputs&);
        const char* message;
    };
    const Case cases[] = {
        {"missing Unihan folder", [](CompilerInputs& in) { in.unihanDir += QStringLiteral("/absent"); },
         "Unihan folder"},
        {"Unihan folder without the files",
         [](CompilerInputs& in) { in.unihanDir = QFileInfo(in.outDir).absolutePath(); },
         "Unihan_Readings.txt"},
        {"bad to-jyutping path", [](CompilerInputs& in) { in.toJyutpingDir += QStringLiteral("/absent"); },
         "to-jyutping"},
        {"to-jyutping folder without the module",
         [](CompilerInputs& in) { in.toJyutpingDir = QStringLiteral(QUILLORY_TEST_DATA_DIR); },
         "to-jyutping module was not found"},
        {"missing CC-CEDICT", [](CompilerInputs& in) { in.cedictFile += QStringLiteral(".absent"); },
         "CC-CEDICT"},
        {"no version", [](CompilerInputs& in) { in.version = 0; }, "version"}};
    for (const Case& c : cases) {
        CompilerInputs inputs = SmallDataInputs(out);
        c.spoil(inputs);
        QString progressText, error;
        QTextStream progress(&progressText);
        EXPECT_FALSE(CompileData(inputs, progress, &error)) << c.what;
        EXPECT_THAT(error.toStdString(), HasSubstr(c.message)) << c.what;
        EXPECT_EQ(FolderContents(out), QStringList{QStringLiteral("oxa.dat")}) << c.what;
        EXPECT_EQ(ReadFile(QDir(out).filePath(QStringLiteral("oxa.dat"))), "old index") << c.what;
        EXPECT_EQ(FolderContents(dir.path()), QStringList{QStringLiteral("demo")}) << c.what;
    }
}

TEST(DataCompiler, SmallDataFolderOpensWithTheReaders) {
    QString error;
    const QString folder = BuildSmallDataFolder(&error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    EXPECT_EQ(BuildSmallDataFolder(&error), folder); // built once per process

    RecordingReporter reporter;
    DataFiles files(folder, reporter);
    ASSERT_TRUE(files.OpenDataFiles()) << reporter.messages.join(u'\n').toStdString();
    DataIndex index(reporter);
    ASSERT_TRUE(index.LoadDataIndex(*files.indexFile()));
    EXPECT_EQ(index.DataVersion(), u"0001");

    // 中 is listed under zhong1 and zhong4, 行 under its to-jyutping reading hong4.
    CharacterLists lists(files, index);
    const auto listed = [&](const char* syllable, Scheme scheme) {
        const auto ref = scheme == Scheme::Pinyin
                             ? index.FindPinyinChunk(*EncodeSyllable(syllable, scheme))
                             : index.FindJyutpingChunk(*EncodeSyllable(syllable, scheme));
        return !ref                       ? CharacterList{}
               : scheme == Scheme::Pinyin ? lists.CharactersByPinyin(syllable, *ref)
                                          : lists.CharactersByJyutping(syllable, *ref);
    };
    EXPECT_THAT(listed("zhong1", Scheme::Pinyin), ::testing::Contains(0x4E2Du));
    EXPECT_THAT(listed("zhong4", Scheme::Pinyin), ::testing::Contains(0x4E2Du));
    EXPECT_THAT(listed("hong4", Scheme::Jyutping), ::testing::Contains(0x884Cu));

    // The radical table holds the radical list's forms, no radical character
    // (U+2E80..U+2FDF); 田 and 电 (102.0) and 王 (96.-1) make group 0.
    const QStringList table = index.RadicalTableText().split(u'\n');
    EXPECT_TRUE(table.contains(QStringLiteral("102.0\t7530 0 2 4")));
    EXPECT_TRUE(table.contains(QStringLiteral("96.0\t7389 0")));
    EXPECT_FALSE(
        index.RadicalTableText().contains(QRegularExpression(QStringLiteral("\\b2[EF][0-9A-F]{2}\\b"))));
    PlainListPage tian;
    QString title;
    ASSERT_TRUE(lists.ListByRadical(102, tian, title));
    EXPECT_EQ(title, QStringLiteral("[田]"));
    ASSERT_FALSE(tian.sections.empty());
    EXPECT_EQ(tian.sections[0].label, QStringLiteral("0"));
    EXPECT_EQ(tian.sections[0].chars, (CharacterList{0x7530, 0x7535}));

    RecordStore records;
    ASSERT_TRUE(records.Open(QDir(folder).filePath(QStringLiteral("records.db"))));
    const auto hang = records.characterRecord(0x884C);
    ASSERT_TRUE(hang.has_value());
    EXPECT_TRUE(hang->pinyin.startsWith(u"xing2 hang2"));
    EXPECT_TRUE(hang->jyutping.startsWith(u"hang4"));
    EXPECT_TRUE(hang->jyutping.contains(u"hong4"));
    // The readings with tone marks follow the standard rule: 六 liù, not lìu.
    EXPECT_TRUE(records.characterRecord(0x516D).value().field10.startsWith(u"liù"));
    EXPECT_EQ(records.characterRecord(0x7537).value().field12, u"7530"); // 男's radical forms
}

} // namespace
} // namespace quillory::datagen
