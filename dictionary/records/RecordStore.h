#pragma once
// The record store: a read-only SQLite database in the data folder with the
// record of every character, every dictionary word and a full-text index of
// English meanings.
#include "dictionary/records/CharacterRecord.h"
#include "dictionary/text/DataFaults.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;

namespace quillory {

class SqliteStatement;

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
    // The count its rank weighed: the word's count, 0 for a rare character,
    // a character's lesser reading or a traditional form's own meaning.
    qint64 count = 0;
};

// A dictionary entry with its readings and how common its word is.
struct WordReading {
    QString simplified;
    QString traditional;
    QString pinyin;   // tone digits, syllables separated by blanks
    QString jyutping; // likewise
    QString english;  // glosses separated by " / "
    qint64 count = 0; // the word's count (see wordFrequency)
};

// A character's readings, tone digits, the most common first, separated by
// blanks, and the character's count (see wordFrequency).
struct CharacterReading {
    std::uint32_t code = 0;
    QString pinyin;
    QString jyutping;
    qint64 count = 0;
};

// Look-ups share prepared statements: use one store from one thread at a time.
class RecordStore {
public:
    // Layout version kept in the store's meta table; open() refuses others.
    static constexpr int kFormatVersion = 3;

    RecordStore();
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Read-only. False when the file is missing, locked by another program,
    // damaged or no store of this layout; openError() then says which. The
    // characters table is checked here (PRAGMA quick_check, some 30 ms on the
    // full store); damage elsewhere shows when a look-up reads it.
    bool Open(const QString& path);
    void Close();
    bool isOpen() const { return db_ != nullptr; }
    const QString& openError() const { return openError_; }
    // Where look-ups note SQLite errors (a damaged page, a lock another
    // program holds past the busy time-out); they still answer "not found"
    // or the rows read so far, so callers check the faults to tell.
    void setFaults(DataFaults* faults) { faults_ = faults; }
    DataFaults* faults() const { return faults_; }
    // The open connection, for the look-ups of companion readers (the reading
    // index) on the same thread; null while closed.
    sqlite3* connection() const { return db_; }

    std::optional<CharacterRecord> characterRecord(std::uint32_t code) const;
    // A word given in simplified or traditional characters.
    std::optional<WordEntry> wordEntry(const QString& word) const;
    // Chinese entries matching an English word or phrase, best first: entries
    // with a gloss equal to the query (ignoring case, punctuation, bracketed
    // qualifiers and a leading "to"), then glosses starting with the query's
    // words, then any entry holding all its words (stemmed), by text rank.
    // Within the first two groups: by the word's count, weighed by where the
    // matching gloss lies in the entry (first gloss, main sense, later
    // sense); rare characters last in each group (see EnglishSearch).
    std::vector<EnglishMatch> englishMatches(const QString& query, int limit = 50) const;
    // Entries with a gloss starting with a text being typed, by the same
    // weight (whole typed words weighing more); when those are few, entries
    // with a word starting with its last word and holding its earlier words:
    // the English part of the suggestions under the search box.
    std::vector<EnglishMatch> englishPrefixMatches(const QString& prefix, int limit = 10) const;

    // How often a word or character occurs in a large corpus of simplified
    // text; a traditional form counts as its simplified form. 0 when the
    // corpus lacks it, for text that is no headword, and for a store built
    // without word counts.
    qint64 wordFrequency(const QString& word) const;
    bool hasWordFrequencies() const;
    // Every dictionary entry, in the dictionary's order, with its word's count.
    std::vector<WordReading> wordReadings() const;
    // Every character's readings, in code order.
    std::vector<CharacterReading> characterReadings() const;

private:
    struct Statements;

    // SQLITE_ROW gives true, SQLITE_DONE false, any other result false with
    // the fault noted.
    bool Row(const SqliteStatement& statement) const;

    sqlite3* db_ = nullptr;
    std::unique_ptr<Statements> statements_;
    DataFaults* faults_ = nullptr;
    QString openError_;
};

} // namespace quillory
