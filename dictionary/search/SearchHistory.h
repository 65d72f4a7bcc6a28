#pragma once
// The pages shown last, most recent first, kept between runs in
// "search.txt": one line per entry, "command<TAB>value<TAB>text" with the
// numbers in upper-case hexadecimal and the text in GBK.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillory {

struct SearchHistoryEntry {
    static constexpr std::uint32_t kNoValue = 0xFFFFFFFF;

    std::uint32_t command = 0;
    std::uint32_t value = kNoValue;
    QString text; // the page title

    // An entry that holds no page: it is neither listed nor saved.
    bool isEmpty() const { return value == kNoValue; }
    friend bool operator==(const SearchHistoryEntry&, const SearchHistoryEntry&) = default;
};

class SearchHistory {
public:
    static constexpr int kSize = 100;
    // Longest line read back, line break included, and its longest decoded form.
    static constexpr int kMaxLineBytes = 10240;
    static constexpr int kMaxLineCharacters = 2048;

    // Puts the page at the front. A page already listed moves to the front
    // instead of being listed twice; when the list is full the oldest page
    // drops out. Pages are the same when command and text match and, except
    // for text commands, the value too. An empty entry is not added.
    void AddToHistory(std::uint32_t command, std::uint32_t value, const QString& text);

    const SearchHistoryEntry& entry(int index) const { return entries_[index]; }
    // Indices of the entries that hold a page, in order.
    std::vector<int> usedEntries() const;
    void clear();

    // Replaces the history with the file's entries; a missing or unreadable
    // file leaves it empty. Unsound lines are skipped. False when the file
    // could not be opened.
    bool LoadHistory(const QString& path);
    // Writes the used entries through a temporary file, so that an existing
    // file is replaced whole or not at all. Entries whose text GBK cannot
    // encode, or that would not read back, are left out. False when the file
    // could not be written.
    bool SaveHistory(const QString& path) const;

private:
    std::array<SearchHistoryEntry, kSize> entries_{};
};

// Where the history is kept, the same on every run: "search.txt" in the data
// folder when that file is already there and can be replaced (the file and
// its folder writable), else "search.txt" in the user's folder. The history
// is only ever saved where it was chosen, so no run creates a file in the
// data folder and the choice never flips between runs: a writable data
// folder without the file keeps the user's folder, even once the user's
// file exists.
QString ChooseHistoryFile(const QString& dataFolder, const QString& userFolder,
                          const std::function<bool(const QString& path)>& canReplace);
// True when path is a file that a save may replace: the file and its folder
// are writable.
bool CanReplaceFile(const QString& path);
// ChooseHistoryFile with the user's folder QStandardPaths::AppDataLocation
// and CanReplaceFile.
QString HistoryFilePath(const QString& dataFolder);

} // namespace quillory
