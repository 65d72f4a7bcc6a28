#pragma once
// The record store: a read-only SQLite database in the data folder with the
// record of every character, every dictionary word and a full-text index of
// English meanings.
#include "CharacterRecord.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct sqlite3;

namespace quillory {

struct WordEntry {
    QString word;     // as asked for
    QString pinyin;   // every reading, tone digits, readings separated by " / "
    QString jyutping; // likewise
    QString english;  // meanings separated by " / "
};

struct EnglishMatch {
    QString word;    // Chinese text (simplified form)
    QString pinyin;  // tone digits
    QString english; // the glosses of that entry, " / " separated
};

class RecordStore {
public:
    RecordStore();
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    bool open(const QString& path); // read-only; false when missing or unreadable
    void close();
    bool isOpen() const { return db_ != nullptr; }

    std::optional<CharacterRecord> characterRecord(std::uint32_t code) const;
    // A word given in simplified or traditional characters.
    std::optional<WordEntry> wordEntry(const QString& word) const;
    // Chinese entries matching an English word or phrase, best first.
    std::vector<EnglishMatch> englishMatches(const QString& query, int limit = 50) const;

private:
    sqlite3* db_ = nullptr;
};

} // namespace quillory
