// The history of shown pages: ordering, capacity and the "search.txt" file.
#include "dictionary/search/SearchHistory.h"
#include "dictionary/text/GbkCodec.h"
#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace quillory {
namespace {

QByteArray Gbk(const char16_t* text) {
    return EncodeGbk(QString::fromUtf16(text)).value();
}

// Adds the entries in order, as pages shown one after another.
SearchHistory Shown(const std::vector<SearchHistoryEntry>& pages, SearchHistory history = {}) {
    for (const SearchHistoryEntry& page : pages)
        history.AddToHistory(page.command, page.value, page.text);
    return history;
}

std::vector<SearchHistoryEntry> Entries(const SearchHistory& history) {
    std::vector<SearchHistoryEntry> entries;
    for (int index : history.usedEntries())
        entries.push_back(history.entry(index));
    return entries;
}

class SearchHistoryFile : public ::testing::Test {
protected:
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

TEST(SearchHistory, PagesShownAgainMoveToTheFrontAndTheOldestDropsOut) {
    const struct {
        const char* what;
        std::vector<SearchHistoryEntry> shown, listed;
    } cases[] = {
        {"a page shown again moves to the front",
         {{1, 0x1916, "[zhong]"}, {8, 4, "[4]"}, {0, 0x4E00, "一"}, {1, 0x1916, "[zhong]"}},
         {{1, 0x1916, "[zhong]"}, {0, 0x4E00, "一"}, {8, 4, "[4]"}}},
        {"sameness needs command, text (case-sensitive) and value, but no value for text commands",
         {{0, 0x4E2D, "中"}, {0, 0x4E2E, "中"}, {6, 0, "中"}, {7, 0, "Hello"}, {7, 0, "hello"}, {6, 5, "中"}},
         {{6, 5, "中"}, {7, 0, "hello"}, {7, 0, "Hello"}, {0, 0x4E2E, "中"}, {0, 0x4E2D, "中"}}},
        {"the front page shown again changes nothing; an entry without value is not added",
         {{6, 5, "中"}, {6, 5, "中"}, {6, 9, "中"}, {0, SearchHistoryEntry::kNoValue, "x"}},
         {{6, 5, "中"}}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Entries(Shown(c.shown)), c.listed);
    }
    // The hundred and first page pushes the oldest out; one from the middle moves to the front.
    SearchHistory history;
    for (int i = 0; i < SearchHistory::kSize + 1; ++i)
        history.AddToHistory(8, static_cast<std::uint32_t>(i), QStringLiteral("[%1]").arg(i));
    history.AddToHistory(8, 50, QStringLiteral("[50]"));
    ASSERT_EQ(history.usedEntries().size(), 100u);
    for (const auto& [index, text] :
         {std::pair{0, "[50]"}, {1, "[100]"}, {50, "[51]"}, {51, "[49]"}, {99, "[1]"}})
        EXPECT_EQ(history.entry(index).text, QString::fromUtf8(text)) << index;
}

TEST_F(SearchHistoryFile, SavingReplacesTheFileWithTheReadableEntriesAndLoadingReadsThemBack) {
    // Only an existing file can be replaced; a folder named search.txt by no one, root included.
    EXPECT_FALSE(CanReplaceFile(path()));
    EXPECT_FALSE(HistoryFilePath(dir_.path()).startsWith(dir_.path()));
    ASSERT_TRUE(QDir().mkpath(path()));
    EXPECT_FALSE(CanReplaceFile(path()));
    EXPECT_FALSE(HistoryFilePath(dir_.path()).startsWith(dir_.path()));
    ASSERT_TRUE(QDir().rmdir(path()));
    write("8\t4\t[4]\n");
    EXPECT_TRUE(CanReplaceFile(path()));
    EXPECT_EQ(HistoryFilePath(dir_.path()), path());
    EXPECT_TRUE(HistoryFilePath(dir_.filePath("absent")).endsWith("/search.txt"));
    // Shown oldest first, with entries that would not read back: no GBK form, a line break, too long.
    const QString noGbk = QStringLiteral("中") + QChar(0xD83D) + QChar(0xDE00), tooLong(2100, QChar(0x4E2D));
    const SearchHistory saved =
        Shown({{6, 0, tooLong}, {1, 0x1916, "[zhong]"}, {0, 0x4E2D, "中"}},
              Shown({{6, 0, noGbk}, {9, 0x102, "[丨 *]"}, {6, 0, "中\n文"}, {7, 0x1234, "hello"}}));
    ASSERT_TRUE(saved.SaveHistory(path()));
    EXPECT_EQ(read(),
              "0\t4E2D\t" + Gbk(u"中") + "\n1\t1916\t[zhong]\n7\t0\thello\n9\t102\t" + Gbk(u"[丨 *]") + "\n");
    const std::vector<SearchHistoryEntry> entries = {
        {0, 0x4E2D, "中"}, {1, 0x1916, "[zhong]"}, {7, 0, "hello"}, {9, 0x102, "[丨 *]"}};
    SearchHistory loaded = Shown({{8, 4, "[4]"}}); // replaced by the file's entries
    ASSERT_TRUE(loaded.LoadHistory(path()));
    EXPECT_EQ(Entries(loaded), entries);
    EXPECT_FALSE(loaded.LoadHistory(dir_.filePath(QStringLiteral("missing.txt"))));
    EXPECT_TRUE(loaded.usedEntries().empty());
    // A folder where the file should go: the save fails and leaves no temporary file behind.
    const QString blocked = dir_.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/search.txt/inner")));
    EXPECT_FALSE(saved.SaveHistory(blocked + QStringLiteral("/search.txt")));
    EXPECT_EQ(QDir(blocked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"search.txt"});
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"search.txt"});
}

TEST_F(SearchHistoryFile, HostileLinesAreSkippedAndAtMostAHundredRead) {
    // Kept: a CRLF line, a text command's text holding a tab, bad GBK, no line break at the end. Skipped:
    // too few tabs, too long in bytes or (2048 characters) decoded, a NUL byte, no value, an empty line.
    QByteArray bytes =
        "1\t1916\t[zhong]\r\n7\t2A\thello\tworld\nno tabs at all\n1\tonly one tab\n8\t" +
        QByteArray(20000, 'A') + QByteArray("\t[too long]\n8\t2\t[two]\n8\t3\t[nul\0byte]\n", 37) + "8\t4\t" +
        QByteArray(3000, 'x') + "\n8\t5\t\xFF\xFE[bad gbk]\n8\tFFFFFFFF\t[no value]\n\n8\t6\t[last]";
    write(bytes);
    SearchHistory history;
    ASSERT_TRUE(history.LoadHistory(path()));
    ASSERT_EQ(history.usedEntries().size(), 5u);
    EXPECT_EQ(history.entry(0), (SearchHistoryEntry{1, 0x1916, "[zhong]"}));
    EXPECT_EQ(history.entry(1), (SearchHistoryEntry{7, 0x2A, "hello\tworld"}));
    EXPECT_EQ(history.entry(2), (SearchHistoryEntry{8, 2, "[two]"}));
    EXPECT_EQ(history.entry(3).value, 5u);
    EXPECT_TRUE(history.entry(3).text.startsWith(QChar(0xFFFD)) &&
                history.entry(3).text.endsWith("[bad gbk]"));
    EXPECT_EQ(history.entry(4), (SearchHistoryEntry{8, 6, "[last]"}));

    bytes.clear();
    for (int i = 0; i < 10000; ++i)
        bytes += "8\t" + QByteArray::number(i, 16) + "\t[" + QByteArray::number(i) + "]\n";
    write(bytes);
    ASSERT_TRUE(history.LoadHistory(path()));
    ASSERT_EQ(history.usedEntries().size(), 100u);
    EXPECT_EQ(history.entry(99).text, QStringLiteral("[99]"));
}

// The data folder's search.txt is chosen only when it exists and can be replaced, the same on every run.
TEST(SearchHistoryPath, ChoiceIsStableBetweenRuns) {
    const QString data = QStringLiteral("/data"), user = QStringLiteral("/home/user/.local/share/Quillory");
    const QString file = QStringLiteral("/search.txt");
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
        std::set<QString> files = {c.inData ? data + file : QString(), c.inUser ? user + file : QString()};
        const auto replaceable = [&](const QString& path) {
            return files.count(path) != 0 && (!path.startsWith(data) || c.dataReplaceable);
        };
        const QString first = ChooseHistoryFile(data, user, replaceable);
        EXPECT_EQ(first, c.chosen + file) << c.what;
        // The history is saved where it was chosen; the next run chooses the same.
        files.insert(first);
        EXPECT_EQ(ChooseHistoryFile(data, user, replaceable), first) << c.what;
    }
}

} // namespace
} // namespace quillory
