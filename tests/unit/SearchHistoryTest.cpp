// The history of shown pages: ordering, capacity and the "search.txt" file.
#include "dictionary/search/SearchHistory.h"
#include "dictionary/text/GbkCodec.h"
#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

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
    // An entry without value is not added.
    history.AddToHistory(0, SearchHistoryEntry::kNoValue, QStringLiteral("x"));
    EXPECT_EQ(history.usedEntries().size(), 5u);
}

TEST(SearchHistory, TheHundredAndFirstPagePushesTheOldestOut) {
    SearchHistory history;
    for (int i = 0; i < SearchHistory::kSize + 1; ++i)
        history.AddToHistory(8, static_cast<std::uint32_t>(i), QStringLiteral("[%1]").arg(i));
    ASSERT_EQ(history.usedEntries().size(), 100u);
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

TEST_F(HistoryFile, RoundTripsEntriesInOrderAndLoadingReplacesTheHistory) {
    SearchHistory history;
    history.AddToHistory(9, 0x102, QStringLiteral("[丨 *]"));
    history.AddToHistory(7, 0x1234, QStringLiteral("hello"));
    history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    history.AddToHistory(0, 0x4E2D, QStringLiteral("中"));
    ASSERT_TRUE(history.SaveHistory(path()));
    EXPECT_EQ(read(),
              "0\t4E2D\t" + Gbk(u"中") + "\n1\t1916\t[zhong]\n7\t0\thello\n9\t102\t" + Gbk(u"[丨 *]") + "\n");

    SearchHistory loaded;
    loaded.AddToHistory(8, 4, QStringLiteral("[4]")); // replaced by the file's entries
    ASSERT_TRUE(loaded.LoadHistory(path()));
    const std::vector<SearchHistoryEntry> expected = {
        {0, 0x4E2D, "中"}, {1, 0x1916, "[zhong]"}, {7, 0, "hello"}, {9, 0x102, "[丨 *]"}};
    ASSERT_EQ(loaded.usedEntries().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(loaded.entry(int(i)), expected[i]) << i;

    EXPECT_FALSE(loaded.LoadHistory(dir_.filePath(QStringLiteral("missing.txt"))));
    EXPECT_TRUE(loaded.usedEntries().empty());
}

// Hand-written and hostile lines: unsound ones are skipped.
TEST_F(HistoryFile, HostileLinesAreSkippedAndSoundOnesKept) {
    QByteArray bytes = "1\t1916\t[zhong]\r\n";
    bytes += "7\t2A\thello\tworld\n"; // a text command's value is kept; the text is all after the second tab
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
    ASSERT_EQ(history.usedEntries().size(), 5u);
    EXPECT_EQ(history.entry(0), (SearchHistoryEntry{1, 0x1916, "[zhong]"}));
    EXPECT_EQ(history.entry(1), (SearchHistoryEntry{7, 0x2A, "hello\tworld"}));
    EXPECT_EQ(history.entry(2).text, QStringLiteral("[two]"));
    EXPECT_EQ(history.entry(3).value, 5u);
    EXPECT_TRUE(history.entry(3).text.endsWith(QStringLiteral("[bad gbk]")));
    EXPECT_TRUE(history.entry(3).text.startsWith(QChar(0xFFFD)));
    EXPECT_EQ(history.entry(4).text, QStringLiteral("[last]"));
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

// The history file's folder is chosen the same way on every run: the data
// folder only when its search.txt exists and can be replaced.
TEST(HistoryFilePath, ChoiceIsStableBetweenRuns) {
    const QString data = QStringLiteral("/data"), user = QStringLiteral("/home/user/.local/share/Quillory");
    const struct {
        const char* what;
        bool inData, dataReplaceable, inUser;
        const QString& chosen;
    } cases[] = {{"data file replaceable", true, true, false, data},
                 {"data file replaceable, user file too", true, true, true, data},
                 {"data file not replaceable (a read-only folder or file)", true, false, false, user},
                 {"data file not replaceable, user file exists", true, false, true, user},
                 {"writable data folder without the file, user file exists", false, true, true, user},
                 {"first run: no file anywhere", false, true, false, user}};
    for (const auto& c : cases) {
        std::set<QString> files;
        const auto replaceable = [&](const QString& path) {
            return files.count(path) != 0 && (!path.startsWith(data) || c.dataReplaceable);
        };
        if (c.inData)
            files.insert(data + QStringLiteral("/search.txt"));
        if (c.inUser)
            files.insert(user + QStringLiteral("/search.txt"));
        const QString first = ChooseHistoryFile(data, user, replaceable);
        EXPECT_EQ(first, c.chosen + QStringLiteral("/search.txt")) << c.what;
        // The history is saved where it was chosen; the next run chooses the same.
        files.insert(first);
        EXPECT_EQ(ChooseHistoryFile(data, user, replaceable), first) << c.what;
    }
}

TEST(HistoryFilePath, RealFoldersAndFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("search.txt"));
    EXPECT_FALSE(CanReplaceFile(file));
    EXPECT_FALSE(HistoryFilePath(dir.path()).startsWith(dir.path()));
    // A folder named search.txt can be replaced by no one, root included.
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_FALSE(CanReplaceFile(file));
    EXPECT_FALSE(HistoryFilePath(dir.path()).startsWith(dir.path()));
    ASSERT_TRUE(QDir().rmdir(file));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_TRUE(CanReplaceFile(file));
    EXPECT_EQ(HistoryFilePath(dir.path()), file);
    EXPECT_TRUE(
        HistoryFilePath(dir.filePath(QStringLiteral("absent"))).endsWith(QStringLiteral("/search.txt")));
}

} // namespace
} // namespace quillory
