#pragma once
// The record store: a read-only SQLite database in the data folder with the
// record of every character, every dictionary word and a full-text index of
// English meanings.
#include "dictionary/records/CharacterRecord.h"

#include <QString>
#include <cstdint>
#include <memory>
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

// Look-ups share prepared statements: use one store from one thread at a time.
class RecordStore {
public:
    // Layout version kept in the store's meta table; open() refuses others.
    static constexpr int kFormatVersion = 2;

    RecordStore();
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    bool Open(const QString& path); // read-only; false when missing or unreadable
    void Close();
    bool isOpen() const { return db_ != nullptr; }

    std::optional<CharacterRecord> characterRecord(std::uint32_t code) const;
    // A word given in simplified or traditional characters.
    std::optional<WordEntry> wordEntry(const QString& word) const;
    // Chinese entries matching an English word or phrase, best first: entries
    // with a gloss equal to the query (ignoring case, punctuation, bracketed
    // qualifiers and a leading "to"), then glosses starting with the query's
    // words, then any entry holding all its words (stemmed), by text rank.
    // Within the first two groups: common and few characters with the matching
    // gloss early in the entry first, then fewer glosses.
    std::vector<EnglishMatch> englishMatches(const QString& query, int limit = 50) const;

private:
    struct Statements;

    sqlite3* db_ = nullptr;
    std::unique_ptr<Statements> statements_;
};

} // namespace quillory
