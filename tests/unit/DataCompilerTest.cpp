// The data compiler end to end on the small source extracts.
#include "datagen/DataCompiler.h"
#include "datagen/StagingFolder.h"
#include "dictionary/Dictionary.h"
#include "pages/builders/PlainListPage.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SmallData.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

using quillory::testing::FolderContents;
using quillory::testing::ReadFile;
using quillory::testing::SmallDataInputs;
using quillory::testing::WriteFile;
using ::testing::HasSubstr;

// A temporary folder that holds only the data folder "demo", which holds an old index.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid() && QDir().mkpath(out_.path()));
        ASSERT_TRUE(WriteFile(Out("oxa.dat"), "old index"));
    }
    QString Out(const char* name) const { return out_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    const QDir out_{dir_.filePath(QStringLiteral("demo"))};
};

TEST_F(DataFolderTest, StagingFolderMovesAllFilesOrNone) {
    ASSERT_TRUE(WriteFile(Out("a.dat"), "old a"));
    ASSERT_TRUE(WriteFile(Out("c.dat"), "old c"));
    // A folder where c.dat's old copy would be put aside makes the third move fail.
    ASSERT_TRUE(QDir().mkpath(Out(".c.dat.replaced/x")));
    const auto stageAndCommit = [&](QString* error) {
        StagingFolder staging(out_.path());
        bool ok = staging.Create(error);
        for (const char* name : {"a.dat", "b.dat", "c.dat"})
            ok = ok && WriteFile(staging.FilePath(QString::fromLatin1(name)), QByteArray("new ") + name);
        return ok && staging.Commit(error);
    };
    QString error;
    EXPECT_FALSE(stageAndCommit(&error));
    EXPECT_THAT(error.toStdString(), HasSubstr("c.dat"));
    EXPECT_EQ(ReadFile(Out("a.dat")), "old a");
    EXPECT_EQ(ReadFile(Out("c.dat")), "old c");
    EXPECT_FALSE(QFileInfo::exists(Out("b.dat")));
    EXPECT_EQ(FolderContents(dir_.path()), QStringList{"demo"}); // no staging folder left

    ASSERT_TRUE(QDir(Out(".c.dat.replaced")).removeRecursively());
    ASSERT_TRUE(stageAndCommit(&error)) << error.toStdString();
    EXPECT_EQ(ReadFile(Out("a.dat")), "new a.dat");
    EXPECT_EQ(ReadFile(Out("c.dat")), "new c.dat");
    EXPECT_EQ(FolderContents(out_.path()), (QStringList{"a.dat", "b.dat", "c.dat", "oxa.dat"}));
}

// Each failing input leaves the data folder as it was; then a good compile writes every file,
// replaces the old index, keeps a file of its own and gives a summary.
TEST_F(DataFolderTest, CompilerReplacesOnlyItsOwnFilesAndOnlyOnSuccess) {
    const struct {
        const char* what;
        void (*spoil)(CompilerInputs&);
        const char* message;
    } cases[] = {{"missing Unihan folder",
                  [](CompilerInputs& in) { in.unihanDir += QStringLiteral("/absent"); }, "Unihan folder"},
                 {"Unihan folder without the files",
                  [](CompilerInputs& in) { in.unihanDir = QFileInfo(in.outDir).absolutePath(); },
                  "Unihan_Readings.txt"},
                 {"bad to-jyutping path",
                  [](CompilerInputs& in) { in.toJyutpingDir += QStringLiteral("/absent"); }, "to-jyutping"},
                 {"to-jyutping folder without the module",
                  [](CompilerInputs& in) { in.toJyutpingDir = QStringLiteral(QUILLORY_TEST_DATA_DIR); },
                  "to-jyutping module was not found"},
                 {"missing CC-CEDICT", [](CompilerInputs& in) { in.cedictFile += QStringLiteral(".absent"); },
                  "CC-CEDICT"},
                 {"no version", [](CompilerInputs& in) { in.version = 0; }, "version"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CompilerInputs inputs = SmallDataInputs(out_.path());
        c.spoil(inputs);
        QString progressText, error;
        QTextStream progress(&progressText);
        EXPECT_FALSE(CompileData(inputs, progress, &error));
        EXPECT_THAT(error.toStdString(), HasSubstr(c.message));
        EXPECT_EQ(FolderContents(out_.path()), QStringList{"oxa.dat"});
        EXPECT_EQ(ReadFile(Out("oxa.dat")), "old index");
        EXPECT_EQ(FolderContents(dir_.path()), QStringList{"demo"}); // no staging folder left
    }

    ASSERT_TRUE(WriteFile(Out("def.dat"), "stroke font"));
    QString progressText, error;
    QTextStream progress(&progressText);
    ASSERT_TRUE(CompileData(SmallDataInputs(out_.path()), progress, &error)) << error.toStdString();
    progress.flush();
    for (const char* name : {"oxa.dat", "ghi.dat", "ijk.dat", "jkl.dat", "hij.dat", "records.db"})
        EXPECT_GT(QFileInfo(Out(name)).size(), 0) << name;
    EXPECT_NE(ReadFile(Out("oxa.dat")), "old index");
    EXPECT_EQ(ReadFile(Out("def.dat")), "stroke font");
    EXPECT_EQ(FolderContents(out_.path()).size(), CompiledDataFiles().size() + 1);
    EXPECT_EQ(FolderContents(dir_.path()), QStringList{"demo"}); // no staging folder left
    for (const char* line :
         {"characters: 55", "words: 236", "Pinyin syllables: ", "chunks: ", "records.db: ", "total time: "})
        EXPECT_THAT(progressText.toStdString(), HasSubstr(line));
    const QByteArray licenses = ReadFile(Out("LICENSES.txt"));
    for (const char* notice :
         {"CC-CEDICT", "creativecommons.org/licenses/by-sa/4.0", "BSD 2-Clause", "Unicode"})
        EXPECT_TRUE(licenses.contains(notice)) << notice;
}

TEST(DataCompiler, SmallDataFolderOpensWithTheReaders) {
    QString error;
    const QString folder = testing::BuildSmallDataFolder(&error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    EXPECT_EQ(testing::BuildSmallDataFolder(&error), folder); // built once per process
    RecordingReporter reporter;
    Dictionary dictionary(folder, reporter);
    ASSERT_TRUE(dictionary.Open()) << reporter.messages.join(u'\n').toStdString();
    const DataIndex& index = dictionary.index();
    EXPECT_EQ(index.dataVersion(), u"0001");
    // 中 is listed under zhong1 and zhong4, 行 under its to-jyutping reading hong4.
    CharacterLists& lists = dictionary.lists();
    for (const char* syllable : {"zhong1", "zhong4"}) {
        const ChunkRef ref = index.FindPinyinChunk(*EncodeSyllable(syllable, Scheme::Pinyin)).value();
        EXPECT_THAT(lists.CharactersByPinyin(syllable, ref), ::testing::Contains(0x4E2Du)) << syllable;
    }
    const ChunkRef hong4 = index.FindJyutpingChunk(*EncodeSyllable("hong4", Scheme::Jyutping)).value();
    EXPECT_THAT(lists.CharactersByJyutping("hong4", hong4), ::testing::Contains(0x884Cu));

    // Radical table: the list's forms, no radical character (U+2E80..U+2FDF); 田 电 (102.0), 王 (96.-1) at 0.
    const QString radicals = index.RadicalTableText();
    EXPECT_TRUE(radicals.split(u'\n').contains(QStringLiteral("102.0\t7530 0 2 4")));
    EXPECT_TRUE(radicals.split(u'\n').contains(QStringLiteral("96.0\t7389 0")));
    EXPECT_FALSE(radicals.contains(QRegularExpression(QStringLiteral("\\b2[EF][0-9A-F]{2}\\b"))));
    PlainListPage tian;
    QString title;
    ASSERT_TRUE(lists.ListByRadical(102, tian, title));
    EXPECT_EQ(title, QStringLiteral("[田]"));
    EXPECT_EQ(tian.sections.at(0).label, QStringLiteral("0"));
    EXPECT_EQ(tian.sections.at(0).chars, (CharacterList{0x7530, 0x7535}));

    const RecordStore& records = dictionary.records();
    const CharacterRecord hang = records.characterRecord(0x884C).value();
    EXPECT_TRUE(hang.pinyin.startsWith(u"xing2 hang2"));
    EXPECT_TRUE(hang.jyutping.startsWith(u"hang4") && hang.jyutping.contains(u"hong4"))
        << hang.jyutping.toStdString();
    EXPECT_TRUE(records.characterRecord(0x516D).value().field10.startsWith(u"liù")); // 六 liù, not lìu
    EXPECT_EQ(records.characterRecord(0x7537).value().field12, u"7530");             // 男's radical forms
}

} // namespace
} // namespace quillory::datagen
