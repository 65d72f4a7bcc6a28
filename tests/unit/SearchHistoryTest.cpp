// The history of shown pages: ordering, capacity and the "search.txt" file.
#include "dictionary/search/SearchHistory.h"
#include "dictionary/text/GbkCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillory {
namespace {

QStringList Texts(const SearchHistory& history) {
    QStringList texts;
    for (int index : history.usedEntries())
        texts.append(history.entry(index).text);
    return texts;
}

QByteArray Gbk(const char16_t* text) {
    return EncodeGbk(QString::fromUtf16(text)).value();
}

class HistoryFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.filePath(QStringLiteral("search.txt")); }

    void write(const QByteArray& bytes) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray read() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

TEST(SearchHistory, ShowingAPageAgainMovesItToTheFront) {
    SearchHistory history;
    history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    EXPECT_EQ(Texts(history), QStringList{QStringLiteral("[zhong]")});

    history.AddToHistory(8, 4, QStringLiteral("[4]"));
    history.AddToHistory(0, 0x4E00, QStringLiteral("一"));
    history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    EXPECT_EQ(Texts(history), (QStringList{"[zhong]", "一", "[4]"}));
    EXPECT_EQ(history.entry(0).value, 0x1916u);
}

TEST(SearchHistory, SamenessNeedsCommandTextAndValueExceptForTextCommands) {
    SearchHistory history;
    history.AddToHistory(0, 0x4E2D, QStringLiteral("中"));
    history.AddToHistory(0, 0x4E2E, QStringLiteral("中")); // another value: another page
    history.AddToHistory(6, 0, QStringLiteral("中"));      // another command
    history.AddToHistory(7, 0, QStringLiteral("Hello"));
    history.AddToHistory(7, 0, QStringLiteral("hello")); // texts compare case-sensitively
    EXPECT_EQ(history.usedEntries().size(), 5u);

    // Text commands are the same page whatever their value.
    history.AddToHistory(6, 5, QStringLiteral("中"));
    EXPECT_EQ(history.usedEntries().size(), 5u);
    EXPECT_EQ(history.entry(0).command, 6u);
    EXPECT_EQ(history.entry(0).value, 5u);
    history.AddToHistory(6, 9, QStringLiteral("中")); // same as entry 0: nothing changes
    EXPECT_EQ(history.entry(0).value, 5u);
}

TEST(SearchHistory, TheHundredAndFirstPagePushesTheOldestOut) {
    SearchHistory history;
    for (int i = 0; i < SearchHistory::kSize + 1; ++i)
        history.AddToHistory(8, static_cast<std::uint32_t>(i), QStringLiteral("[%1]").arg(i));
    const std::vector<int> used = history.usedEntries();
    ASSERT_EQ(used.size(), 100u);
    EXPECT_EQ(history.entry(0).text, QStringLiteral("[100]"));
    EXPECT_EQ(history.entry(99).text, QStringLiteral("[1]"));

    // A page from the middle moves to the front and nothing drops out.
    history.AddToHistory(8, 50, QStringLiteral("[50]"));
    EXPECT_EQ(history.usedEntries().size(), 100u);
    EXPECT_EQ(history.entry(0).text, QStringLiteral("[50]"));
    EXPECT_EQ(history.entry(1).text, QStringLiteral("[100]"));
    EXPECT_EQ(history.entry(50).text, QStringLiteral("[51]"));
    EXPECT_EQ(history.entry(51).text, QStringLiteral("[49]"));
    EXPECT_EQ(history.entry(99).text, QStringLiteral("[1]"));
}

TEST(SearchHistory, AnEntryWithoutValueIsNotAdded) {
    SearchHistory history;
    history.AddToHistory(0, SearchHistoryEntry::kNoValue, QStringLiteral("x"));
    EXPECT_TRUE(history.usedEntries().empty());
}

TEST_F(HistoryFile, RoundTripsEntriesInOrder) {
    SearchHistory history;
    history.AddToHistory(9, 0x102, QStringLiteral("[丨 *]"));
    history.AddToHistory(7, 0x1234, QStringLiteral("hello"));
    history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    history.AddToHistory(0, 0x4E2D, QStringLiteral("中"));
    ASSERT_TRUE(history.SaveHistory(path()));
    EXPECT_EQ(read(),
              "0\t4E2D\t" + Gbk(u"中") + "\n1\t1916\t[zhong]\n7\t0\thello\n9\t102\t" + Gbk(u"[丨 *]") + "\n");

    SearchHistory loaded;
    ASSERT_TRUE(loaded.LoadHistory(path()));
    ASSERT_EQ(loaded.usedEntries().size(), 4u);
    EXPECT_EQ(loaded.entry(0), (SearchHistoryEntry{0, 0x4E2D, QStringLiteral("中")}));
    EXPECT_EQ(loaded.entry(1), (SearchHistoryEntry{1, 0x1916, QStringLiteral("[zhong]")}));
    EXPECT_EQ(loaded.entry(2), (SearchHistoryEntry{7, 0, QStringLiteral("hello")}));
    EXPECT_EQ(loaded.entry(3), (SearchHistoryEntry{9, 0x102, QStringLiteral("[丨 *]")}));
}

TEST_F(HistoryFile, ReadsHandWrittenLines) {
    write("1\t1916\t[zhong]\r\n7\t2A\thello\tworld\n");
    SearchHistory history;
    ASSERT_TRUE(history.LoadHistory(path()));
    EXPECT_EQ(history.entry(0), (SearchHistoryEntry{1, 0x1916, QStringLiteral("[zhong]")}));
    // A value written for a text command is kept; the text after the second tab is whole.
    EXPECT_EQ(history.entry(1), (SearchHistoryEntry{7, 0x2A, QStringLiteral("hello\tworld")}));
}

TEST_F(HistoryFile, LoadingReplacesTheHistoryAndAMissingFileEmptiesIt) {
    SearchHistory history;
    history.AddToHistory(0, 0x4E00, QStringLiteral("一"));
    write("8\t4\t[4]\n");
    ASSERT_TRUE(history.LoadHistory(path()));
    EXPECT_EQ(Texts(history), QStringList{QStringLiteral("[4]")});

    EXPECT_FALSE(history.LoadHistory(dir_.filePath(QStringLiteral("missing.txt"))));
    EXPECT_TRUE(history.usedEntries().empty());
}

TEST_F(HistoryFile, HostileLinesAreSkippedAndSoundOnesKept) {
    QByteArray bytes;
    bytes += "no tabs at all\n";
    bytes += "1\tonly one tab\n";
    bytes += "8\t" + QByteArray(20000, 'A') + "\t[too long]\n";
    bytes += "8\t2\t[two]\n";
    bytes += QByteArray("8\t3\t[nul\0byte]\n", 16);
    bytes += "8\t4\t" + QByteArray(3000, 'x') + "\n"; // decodes to more than 2048 characters
    bytes += "8\t5\t\xFF\xFE[bad gbk]\n";
    bytes += "8\tFFFFFFFF\t[no value]\n";
    bytes += "\n";
    bytes += "8\t6\t[last]"; // no line break at the end
    write(bytes);

    SearchHistory history;
    ASSERT_TRUE(history.LoadHistory(path()));
    const std::vector<int> used = history.usedEntries();
    ASSERT_EQ(used.size(), 3u);
    EXPECT_EQ(history.entry(0).text, QStringLiteral("[two]"));
    EXPECT_EQ(history.entry(1).value, 5u);
    EXPECT_TRUE(history.entry(1).text.endsWith(QStringLiteral("[bad gbk]")));
    EXPECT_TRUE(history.entry(1).text.startsWith(QChar(0xFFFD)));
    EXPECT_EQ(history.entry(2).text, QStringLiteral("[last]"));
}

TEST_F(HistoryFile, ReadsAtMostAHundredEntries) {
    QByteArray bytes;
    for (int i = 0; i < 10000; ++i)
        bytes += "8\t" + QByteArray::number(i, 16) + "\t[" + QByteArray::number(i) + "]\n";
    write(bytes);
    SearchHistory history;
    ASSERT_TRUE(history.LoadHistory(path()));
    ASSERT_EQ(history.usedEntries().size(), 100u);
    EXPECT_EQ(history.entry(99).text, QStringLiteral("[99]"));
}

TEST_F(HistoryFile, LeavesOutEntriesThatWouldNotReadBack) {
    SearchHistory history;
    history.AddToHistory(6, 0, QStringLiteral("中") + QChar(0xD83D) + QChar(0xDE00)); // no GBK form
    history.AddToHistory(6, 0, QStringLiteral("中\n文"));
    history.AddToHistory(6, 0, QString(2100, QChar(0x4E2D)));
    history.AddToHistory(6, 0, QStringLiteral("中文"));
    ASSERT_TRUE(history.SaveHistory(path()));
    EXPECT_EQ(read(), "6\t0\t" + Gbk(u"中文") + "\n");
}

TEST_F(HistoryFile, SavingReplacesTheFileWholeAndReportsFailure) {
    write("8\t4\t[4]\n");
    SearchHistory history;
    history.AddToHistory(8, 5, QStringLiteral("[5]"));
    ASSERT_TRUE(history.SaveHistory(path()));
    EXPECT_EQ(read(), "8\t5\t[5]\n");

    // A folder standing where the file should go: the save fails and leaves
    // neither a temporary file nor a changed folder behind.
    const QString blocked = dir_.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/search.txt/inner")));
    EXPECT_FALSE(history.SaveHistory(blocked + QStringLiteral("/search.txt")));
    EXPECT_EQ(QDir(blocked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("search.txt")});
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("search.txt")});
}

TEST(HistoryFilePath, UsesTheDataFolderWhenWritable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(HistoryFilePath(dir.path()), dir.filePath(QStringLiteral("search.txt")));
}

TEST(HistoryFilePath, UsesTheUsersFolderWhenTheDataFolderIsReadOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString readOnly = dir.filePath(QStringLiteral("readonly"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    if (QFileInfo(readOnly).isWritable())
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    const QString path = HistoryFilePath(readOnly);
    EXPECT_FALSE(path.startsWith(readOnly));
    EXPECT_TRUE(path.endsWith(QStringLiteral("/search.txt")));
}

} // namespace
} // namespace quillory
