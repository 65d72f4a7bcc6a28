#pragma once
// Reads the record store's reading index (see ReadingKeys.h) and the word
// rows it points to, on the store's own connection. Statements are prepared
// at first use; a store without the index answers nothing. SQLite errors are
// noted in the store's faults, like the store's own look-ups.
#include "dictionary/records/ReadingKeys.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace quillory {

class RecordStore;

// One row of the reading index.
struct ReadingKey {
    qint64 wordId = 0;
    QString reading; // tone digits, blanks between syllables
    qint64 count = 0;
};

// One row of the words table, with its word's count where the look-up says so.
struct IndexedWord {
    qint64 id = 0;
    QString simplified;
    QString traditional;
    QString pinyin;
    QString jyutping;
    QString english;
    qint64 count = 0;
};

class ReadingIndex {
public:
    explicit ReadingIndex(const RecordStore& records);
    ~ReadingIndex();
    ReadingIndex(const ReadingIndex&) = delete;
    ReadingIndex& operator=(const ReadingIndex&) = delete;

    // Whether the store has the reading index at all.
    bool available() const;

    // Rows whose letters equal letters, or start with them, most common
    // first; at most limit rows are read. A prefix of one or two letters
    // spans thousands of rows ("s", "zh"): the most common rows of every
    // such prefix are collected by one pass over the system's rows at its
    // first use (about a tenth of a second on the full data) and kept.
    std::vector<ReadingKey> keysWithLetters(ReadingSystem system, const QString& letters, int limit) const;
    std::vector<ReadingKey> keysWithLetterPrefix(ReadingSystem system, const QString& prefix,
                                                 int limit) const;

    // The entry with this id; without count.
    std::optional<IndexedWord> word(qint64 id) const;
    // Entries written text in simplified or traditional characters, in the
    // dictionary's order.
    std::vector<IndexedWord> wordsWithText(const QString& text) const;
    // Entries whose simplified or traditional form starts with prefix, most
    // common first, then shorter.
    std::vector<IndexedWord> wordsWithTextPrefix(const QString& prefix, int limit) const;
    // The entry of a word with this Pinyin, else its first entry; without
    // count.
    std::optional<IndexedWord> wordWithReading(const QString& simplified, const QString& pinyin) const;

private:
    struct Statements;
    Statements* statements() const;

    struct ShortPrefixes;
    const ShortPrefixes& shortPrefixes(ReadingSystem system) const;

    const RecordStore& records_;
    mutable std::unique_ptr<Statements> statements_;
    mutable std::unique_ptr<ShortPrefixes> shortPrefixes_[2];
    mutable bool prepared_ = false;
};

} // namespace quillory
