#include "dictionary/records/ReadingIndex.h"

#include "dictionary/records/RecordStore.h"
#include "dictionary/records/SqliteStatement.h"
#include "dictionary/records/StoreChecks.h"

#include <QByteArray>
#include <algorithm>
#include <array>

namespace quillory {

namespace {

constexpr const char* kHasIndexSql = "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                                     "('reading_keys', 'word_frequencies')";

// The index holds system, letters and count: the look-ups read only the
// index until the rows they keep.
constexpr const char* kKeysSql = "SELECT word_id, reading, count FROM reading_keys "
                                 "WHERE system = ?1 AND letters = ?2 ORDER BY count DESC LIMIT ?3";
constexpr const char* kKeyPrefixSql =
    "SELECT k.word_id, k.reading, k.count FROM "
    "(SELECT rowid AS r FROM reading_keys WHERE system = ?1 AND letters >= ?2 AND letters < ?3 "
    " ORDER BY count DESC LIMIT ?4) AS t JOIN reading_keys AS k ON k.rowid = t.r ORDER BY k.count DESC";

// The single-row look-ups leave the count out (0): their callers have it,
// or do not need it, and every page read counts when fifty rows are read.
#define QUILLORY_WORD_COLUMNS "SELECT w.id, w.simplified, w.traditional, w.pinyin, w.jyutping, w.english, "
#define QUILLORY_WORD_COUNT                                                                                  \
    QUILLORY_WORD_COLUMNS "IFNULL(f.count, 0) FROM words AS w "                                              \
                          "LEFT JOIN word_frequencies AS f ON f.word = w.simplified "

constexpr const char* kWordSql = QUILLORY_WORD_COLUMNS "0 FROM words AS w WHERE w.id = ?1";
constexpr const char* kWordsWithTextSql =
    QUILLORY_WORD_COUNT "WHERE w.simplified = ?1 OR w.traditional = ?1 ORDER BY w.id";
constexpr const char* kWordsWithTextPrefixSql =
    QUILLORY_WORD_COUNT "WHERE w.id IN (SELECT id FROM words WHERE simplified >= ?1 AND simplified < ?2 "
                        "UNION SELECT id FROM words WHERE traditional >= ?1 AND traditional < ?2) "
                        "ORDER BY IFNULL(f.count, 0) DESC, length(w.simplified), w.id LIMIT ?3";
constexpr const char* kWordWithReadingSql =
    QUILLORY_WORD_COLUMNS "0 FROM words AS w WHERE w.simplified = ?1 ORDER BY w.pinyin <> ?2, w.id LIMIT 1";

// Every row of one system, in the table's order.
constexpr const char* kSystemKeysSql = "SELECT letters, word_id, reading, count FROM reading_keys "
                                       "WHERE +system = ?1";
// Prefixes up to this length are answered from memory, this many rows each.
constexpr qsizetype kShortPrefixLength = 2;
constexpr std::size_t kShortPrefixRows = 64;

#undef QUILLORY_WORD_COUNT
#undef QUILLORY_WORD_COLUMNS

// Just past every text starting with prefix, in SQLite's byte order of
// UTF-8: the prefix followed by the highest code point.
QString PastPrefix(const QString& prefix) {
    return prefix + QString::fromUcs4(U"\U0010FFFF");
}

} // namespace

namespace {

// Slots of the prefixes of one or two letters a-z: "a" 0, "aa" 1 ... "az" 26,
// "b" 27 ...; -1 for any other text.
constexpr int kShortPrefixSlots = 26 * 27;

int ShortPrefixSlot(const char* letters, qsizetype length) {
    const auto letter = [&](qsizetype i) { return letters[i] >= 'a' && letters[i] <= 'z'; };
    if (length < 1 || length > kShortPrefixLength || !letter(0) || (length == 2 && !letter(1))) {
        return -1;
    }
    return (letters[0] - 'a') * 27 + (length == 2 ? letters[1] - 'a' + 1 : 0);
}

} // namespace

struct ReadingIndex::ShortPrefixes {
    // Most common first.
    std::array<std::vector<ReadingKey>, kShortPrefixSlots> rows;
};

struct ReadingIndex::Statements {
    sqlite3* db = nullptr;
    SqliteStatement systemKeys;
    SqliteStatement keys;
    SqliteStatement keyPrefix;
    SqliteStatement word;
    SqliteStatement wordsWithText;
    SqliteStatement wordsWithTextPrefix;
    SqliteStatement wordWithReading;
};

ReadingIndex::ReadingIndex(const RecordStore& records) : records_(records) {}

ReadingIndex::~ReadingIndex() = default;

ReadingIndex::Statements* ReadingIndex::statements() const {
    sqlite3* db = records_.connection();
    if (statements_ && statements_->db != db) {
        statements_.reset(); // the store was opened again
        shortPrefixes_[0].reset();
        shortPrefixes_[1].reset();
        prepared_ = false;
    }
    if (prepared_ || db == nullptr) {
        return statements_.get();
    }
    prepared_ = true;
    SqliteStatement check;
    const auto fault = [&] {
        if (records_.faults() != nullptr) {
            records_.faults()->Report(LookupErrorText(sqlite3_extended_errcode(db)));
        }
        return nullptr;
    };
    if (!check.Prepare(db, kHasIndexSql)) {
        return fault();
    }
    const int result = check.Step();
    if (result != SQLITE_ROW) {
        return fault();
    }
    if (check.integer(0) != 2) {
        return nullptr; // a store written before the index: nothing to find
    }
    auto statements = std::make_unique<Statements>();
    statements->db = db;
    if (!statements->keys.Prepare(db, kKeysSql) || !statements->systemKeys.Prepare(db, kSystemKeysSql) ||
        !statements->keyPrefix.Prepare(db, kKeyPrefixSql) || !statements->word.Prepare(db, kWordSql) ||
        !statements->wordsWithText.Prepare(db, kWordsWithTextSql) ||
        !statements->wordsWithTextPrefix.Prepare(db, kWordsWithTextPrefixSql) ||
        !statements->wordWithReading.Prepare(db, kWordWithReadingSql)) {
        return fault();
    }
    statements_ = std::move(statements);
    return statements_.get();
}

bool ReadingIndex::available() const {
    return statements() != nullptr;
}

namespace {

std::vector<ReadingKey> ReadKeys(const SqliteStatement& statement, DataFaults* faults) {
    std::vector<ReadingKey> keys;
    while (StepRow(statement, faults)) {
        keys.push_back({statement.integer(0), statement.text(1), statement.integer(2)});
    }
    return keys;
}

std::vector<IndexedWord> ReadWords(const SqliteStatement& statement, DataFaults* faults) {
    std::vector<IndexedWord> words;
    while (StepRow(statement, faults)) {
        words.push_back({statement.integer(0), statement.text(1), statement.text(2), statement.text(3),
                         statement.text(4), statement.text(5), statement.integer(6)});
    }
    return words;
}

} // namespace

std::vector<ReadingKey> ReadingIndex::keysWithLetters(ReadingSystem system, const QString& letters,
                                                      int limit) const {
    const Statements* s = statements();
    if (s == nullptr || letters.isEmpty() || limit <= 0) {
        return {};
    }
    const StatementReset reset(s->keys);
    s->keys.Bind(1, sqlite3_int64(system));
    s->keys.Bind(2, letters);
    s->keys.Bind(3, sqlite3_int64(limit));
    return ReadKeys(s->keys, records_.faults());
}

const ReadingIndex::ShortPrefixes& ReadingIndex::shortPrefixes(ReadingSystem system) const {
    std::unique_ptr<ShortPrefixes>& kept = shortPrefixes_[system == ReadingSystem::Pinyin ? 0 : 1];
    if (kept) {
        return *kept;
    }
    kept = std::make_unique<ShortPrefixes>();
    const Statements* s = statements();
    if (s == nullptr) {
        return *kept;
    }
    // A heap per prefix with its least common row in front.
    const auto moreCommon = [](const ReadingKey& a, const ReadingKey& b) { return a.count > b.count; };
    const SqliteStatement& scan = s->systemKeys;
    const StatementReset reset(scan);
    scan.Bind(1, sqlite3_int64(system));
    while (StepRow(scan, records_.faults())) {
        const auto* letters = reinterpret_cast<const char*>(sqlite3_column_text(scan.get(), 0));
        const qsizetype length = sqlite3_column_bytes(scan.get(), 0);
        const qint64 count = scan.integer(3);
        for (qsizetype used = 1; used <= std::min(length, kShortPrefixLength); ++used) {
            const int slot = ShortPrefixSlot(letters, used);
            if (slot < 0) {
                break;
            }
            std::vector<ReadingKey>& heap = kept->rows[std::size_t(slot)];
            if (heap.size() == kShortPrefixRows) {
                if (heap.front().count >= count) {
                    continue;
                }
                std::pop_heap(heap.begin(), heap.end(), moreCommon);
                heap.pop_back();
            }
            heap.push_back({scan.integer(1), scan.text(2), count});
            std::push_heap(heap.begin(), heap.end(), moreCommon);
        }
    }
    for (std::vector<ReadingKey>& rows : kept->rows) {
        std::sort_heap(rows.begin(), rows.end(), moreCommon);
    }
    return *kept;
}

std::vector<ReadingKey> ReadingIndex::keysWithLetterPrefix(ReadingSystem system, const QString& prefix,
                                                           int limit) const {
    const Statements* s = statements();
    if (s == nullptr || prefix.isEmpty() || limit <= 0) {
        return {};
    }
    if (prefix.size() <= kShortPrefixLength && std::size_t(limit) <= kShortPrefixRows) {
        const QByteArray letters = prefix.toLatin1();
        const int slot = ShortPrefixSlot(letters.constData(), letters.size());
        if (slot < 0) {
            return {};
        }
        const std::vector<ReadingKey>& rows = shortPrefixes(system).rows[std::size_t(slot)];
        return {rows.begin(), rows.begin() + std::ptrdiff_t(std::min(rows.size(), std::size_t(limit)))};
    }
    const StatementReset reset(s->keyPrefix);
    s->keyPrefix.Bind(1, sqlite3_int64(system));
    s->keyPrefix.Bind(2, prefix);
    s->keyPrefix.Bind(3, PastPrefix(prefix));
    s->keyPrefix.Bind(4, sqlite3_int64(limit));
    return ReadKeys(s->keyPrefix, records_.faults());
}

std::optional<IndexedWord> ReadingIndex::word(qint64 id) const {
    const Statements* s = statements();
    if (s == nullptr) {
        return std::nullopt;
    }
    const StatementReset reset(s->word);
    s->word.Bind(1, sqlite3_int64(id));
    std::vector<IndexedWord> words = ReadWords(s->word, records_.faults());
    if (words.empty()) {
        return std::nullopt;
    }
    return std::move(words.front());
}

std::vector<IndexedWord> ReadingIndex::wordsWithText(const QString& text) const {
    const Statements* s = statements();
    if (s == nullptr || text.isEmpty()) {
        return {};
    }
    const StatementReset reset(s->wordsWithText);
    s->wordsWithText.Bind(1, text);
    return ReadWords(s->wordsWithText, records_.faults());
}

std::vector<IndexedWord> ReadingIndex::wordsWithTextPrefix(const QString& prefix, int limit) const {
    const Statements* s = statements();
    if (s == nullptr || prefix.isEmpty() || limit <= 0) {
        return {};
    }
    const StatementReset reset(s->wordsWithTextPrefix);
    s->wordsWithTextPrefix.Bind(1, prefix);
    s->wordsWithTextPrefix.Bind(2, PastPrefix(prefix));
    s->wordsWithTextPrefix.Bind(3, sqlite3_int64(limit));
    return ReadWords(s->wordsWithTextPrefix, records_.faults());
}

std::optional<IndexedWord> ReadingIndex::wordWithReading(const QString& simplified,
                                                         const QString& pinyin) const {
    const Statements* s = statements();
    if (s == nullptr || simplified.isEmpty()) {
        return std::nullopt;
    }
    const StatementReset reset(s->wordWithReading);
    s->wordWithReading.Bind(1, simplified);
    s->wordWithReading.Bind(2, pinyin);
    std::vector<IndexedWord> words = ReadWords(s->wordWithReading, records_.faults());
    if (words.empty()) {
        return std::nullopt;
    }
    return std::move(words.front());
}

} // namespace quillory
