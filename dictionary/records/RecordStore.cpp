#include "dictionary/records/RecordStore.h"

#include "dictionary/records/EnglishGloss.h"
#include "dictionary/records/SqliteStatement.h"
#include "dictionary/records/StoreChecks.h"

#include <QFile>
#include <QStringList>
#include <unordered_set>

namespace quillory {

namespace {

// At most this many query words go into the full-text query; a longer query
// still has to match them all, and no pasted page can blow up the query.
constexpr qsizetype kMaxQueryWords = 32;

constexpr const char* kCharacterSql =
    "SELECT pinyin, jyutping, strokes, radical, frequency, word_count, english2, fanti, jianti, "
    "pinyin_marks, english, radical_forms, example_words FROM characters WHERE code = ?1";

constexpr const char* kWordSql =
    "SELECT pinyin, jyutping, english FROM words WHERE simplified = ?1 OR traditional = ?1 ORDER BY id";

// Entries with a normalised gloss equal to ?1, or in the range [?1, ?2).
// Within the group, common characters and an early matching gloss (the
// entry's main sense) come first, then entries with fewer glosses.
constexpr const char* kWholeGlossSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character "
    "FROM (SELECT entry, MIN(position) AS position FROM english_glosses "
    "      WHERE gloss = ?1 GROUP BY entry) AS g "
    "JOIN english_entries AS e ON e.id = g.entry "
    "ORDER BY e.commonness + g.position, e.gloss_count, e.length, e.id LIMIT ?3";

constexpr const char* kGlossRangeSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character "
    "FROM (SELECT entry, MIN(position) AS position FROM english_glosses "
    "      WHERE gloss >= ?1 AND gloss < ?2 GROUP BY entry) AS g "
    "JOIN english_entries AS e ON e.id = g.entry "
    "ORDER BY e.commonness + g.position, e.gloss_count, e.length, e.id LIMIT ?3";

// Entry ids follow commonness, so the candidates are the most common
// matches; only they are ranked, which bounds the work for very frequent
// words ("to", "a") whose matches number in the tens of thousands.
constexpr const char* kFullTextSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character "
    "FROM (SELECT rowid, rank FROM english_fts WHERE english_fts MATCH ?1 LIMIT 3000) AS f "
    "JOIN english_entries AS e ON e.id = f.rowid "
    "ORDER BY f.rank, e.commonness, e.gloss_count, e.length, e.id LIMIT ?2";

// Entry ids follow commonness: the first prefix matches are the most common.
constexpr const char* kPrefixSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character "
    "FROM english_entries AS e WHERE e.id IN "
    "(SELECT rowid FROM english_fts WHERE english_fts MATCH ?1 ORDER BY rowid LIMIT ?2) ORDER BY e.id";

constexpr const char* kFrequencySql = "SELECT count FROM word_frequencies WHERE word = ?1";

constexpr const char* kWordReadingsSql =
    "SELECT w.simplified, w.traditional, w.pinyin, w.jyutping, w.english, IFNULL(f.count, 0) "
    "FROM words AS w LEFT JOIN word_frequencies AS f ON f.word = w.simplified ORDER BY w.id";
constexpr const char* kWordReadingsWithoutCountsSql =
    "SELECT simplified, traditional, pinyin, jyutping, english, 0 FROM words ORDER BY id";

constexpr const char* kCharacterReadingsSql =
    "SELECT c.code, c.pinyin, c.jyutping, IFNULL(f.count, 0) FROM characters AS c "
    "LEFT JOIN word_frequencies AS f ON f.word = char(c.code) ORDER BY c.code";
constexpr const char* kCharacterReadingsWithoutCountsSql =
    "SELECT code, pinyin, jyutping, 0 FROM characters ORDER BY code";

// Appends the distinct items of a separated text, in first-seen order.
void AppendDistinct(QStringList& items, const QString& text, const QString& separator) {
    for (const QString& item : text.split(separator)) {
        const QString trimmed = item.trimmed();
        if (!trimmed.isEmpty() && !items.contains(trimmed)) {
            items.append(trimmed);
        }
    }
}

// Every query word quoted as a phrase: words hold only letters, digits and
// marks, so no query text can reach the full-text syntax.
QString FullTextQuery(const QString& query) {
    QStringList words = EnglishWords(query);
    if (words.size() > kMaxQueryWords) {
        words.resize(kMaxQueryWords);
    }
    for (QString& word : words) {
        word = u'"' + word + u'"';
    }
    return words.join(u' ');
}

// Collects matches best first. A character matched through its own meaning
// and a dictionary entry of the same text are one result: the dictionary
// entry (which carries a single reading) wins, in the better place.
class MatchCollector {
public:
    explicit MatchCollector(int limit) : limit_(std::size_t(limit)) {}

    bool full() const { return matches_.size() >= limit_; }
    std::size_t seenCount() const { return seen_.size(); }

    void add(const SqliteStatement& row) {
        if (full() || !seen_.insert(row.integer(0)).second) {
            return;
        }
        EnglishMatch match{row.text(1), row.text(2), row.text(3)};
        const bool isCharacter = row.integer(4) != 0;
        for (std::size_t i = 0; i < matches_.size(); ++i) {
            if (matches_[i].word != match.word) {
                continue;
            }
            if (isCharacter && !characters_[i]) {
                return;
            }
            if (!isCharacter && characters_[i]) {
                matches_[i] = std::move(match);
                characters_[i] = false;
                return;
            }
        }
        matches_.push_back(std::move(match));
        characters_.push_back(isCharacter);
    }

    std::vector<EnglishMatch> take() { return std::move(matches_); }

private:
    std::size_t limit_;
    std::unordered_set<sqlite3_int64> seen_;
    std::vector<EnglishMatch> matches_;
    std::vector<bool> characters_;
};

} // namespace

struct RecordStore::Statements {
    SqliteStatement character;
    SqliteStatement word;
    SqliteStatement wholeGloss;
    SqliteStatement glossRange;
    SqliteStatement fullText;
    SqliteStatement prefix;
    // Stores built before the word counts have no frequency table.
    SqliteStatement frequency;
    bool hasFrequencies = false;

    bool Prepare(sqlite3* db) {
        hasFrequencies = frequency.Prepare(db, kFrequencySql);
        return character.Prepare(db, kCharacterSql) && word.Prepare(db, kWordSql) &&
               wholeGloss.Prepare(db, kWholeGlossSql) && glossRange.Prepare(db, kGlossRangeSql) &&
               fullText.Prepare(db, kFullTextSql) && prefix.Prepare(db, kPrefixSql);
    }
};

RecordStore::RecordStore() = default;

RecordStore::~RecordStore() {
    Close();
}

bool RecordStore::Open(const QString& path) {
    Close();
    openError_.clear();
    sqlite3* db = nullptr;
    int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (result == SQLITE_OK) {
        sqlite3_busy_timeout(db, kStoreBusyTimeoutMs);
        // A file that is no store of this layout, or a damaged one, fails
        // here, not at the first look-up.
        result = CheckStore(db, kFormatVersion);
    }
    auto statements = std::make_unique<Statements>();
    if (result == SQLITE_OK && !statements->Prepare(db)) {
        result = sqlite3_extended_errcode(db);
    }
    if (result != SQLITE_OK) {
        openError_ = OpenErrorText(path, result);
        statements.reset();
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    statements_ = std::move(statements);
    return true;
}

bool RecordStore::Row(const SqliteStatement& statement) const {
    const int result = statement.Step();
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE && faults_ != nullptr) {
        faults_->Report(LookupErrorText(result));
    }
    return false;
}

void RecordStore::Close() {
    statements_.reset(); // finalised before the connection closes
    sqlite3_close(db_);
    db_ = nullptr;
}

std::optional<CharacterRecord> RecordStore::characterRecord(std::uint32_t code) const {
    if (!statements_) {
        return std::nullopt;
    }
    const SqliteStatement& statement = statements_->character;
    const StatementReset reset(statement);
    statement.Bind(1, sqlite3_int64(code));
    if (!Row(statement)) {
        return std::nullopt;
    }
    const auto count = [&](int column, bool blankWhenZero) {
        const sqlite3_int64 value = statement.integer(column);
        return value == 0 && blankWhenZero ? QString() : QString::number(value);
    };
    CharacterRecord record;
    record.code = code;
    record.pinyin = statement.text(0);
    record.jyutping = statement.text(1);
    record.strokes = count(2, true);
    record.radical = statement.text(3);
    record.field5 = count(4, true);
    record.field6 = count(5, false);
    record.english2 = statement.text(6);
    record.fanti = statement.text(7);
    record.jianti = statement.text(8);
    record.field10 = statement.text(9);
    record.english = statement.text(10);
    record.field12 = statement.text(11);
    record.field13 = statement.text(12);
    return record;
}

std::optional<WordEntry> RecordStore::wordEntry(const QString& word) const {
    const QString key = word.trimmed();
    if (!statements_ || key.isEmpty()) {
        return std::nullopt;
    }
    const SqliteStatement& statement = statements_->word;
    const StatementReset reset(statement);
    statement.Bind(1, key);
    QStringList pinyin;
    QStringList jyutping;
    QStringList english;
    bool found = false;
    while (Row(statement)) {
        found = true;
        AppendDistinct(pinyin, statement.text(0), QStringLiteral(" / "));
        AppendDistinct(jyutping, statement.text(1), QStringLiteral(" / "));
        AppendDistinct(english, statement.text(2), QStringLiteral("/"));
    }
    if (!found) {
        return std::nullopt;
    }
    const QString separator = QStringLiteral(" / ");
    return WordEntry{key, pinyin.join(separator), jyutping.join(separator), english.join(separator)};
}

std::vector<EnglishMatch> RecordStore::englishMatches(const QString& query, int limit) const {
    const QString normalised = NormaliseGloss(query);
    if (!statements_ || limit <= 0 || normalised.isEmpty()) {
        return {};
    }
    MatchCollector collector(limit);
    // An SQLite error ends the rows early, with the fault noted.
    const auto collect = [&](const SqliteStatement& statement) {
        while (!collector.full() && Row(statement)) {
            collector.add(statement);
        }
    };

    {
        const SqliteStatement& whole = statements_->wholeGloss;
        const StatementReset reset(whole);
        whole.Bind(1, normalised);
        whole.Bind(3, sqlite3_int64(limit));
        collect(whole);
    }
    // Glosses starting with the query's words: normalised glosses hold single
    // blanks between words, so they lie in [query + " ", query + "!").
    {
        const SqliteStatement& range = statements_->glossRange;
        const StatementReset reset(range);
        range.Bind(1, normalised + u' ');
        range.Bind(2, normalised + u'!');
        range.Bind(3, sqlite3_int64(limit + collector.seenCount()));
        collect(range);
    }
    if (collector.full()) {
        return collector.take();
    }
    const SqliteStatement& fullText = statements_->fullText;
    const StatementReset reset(fullText);
    fullText.Bind(1, FullTextQuery(query));
    fullText.Bind(2, sqlite3_int64(limit + collector.seenCount()));
    collect(fullText);
    return collector.take();
}

std::vector<EnglishMatch> RecordStore::englishPrefixMatches(const QString& prefix, int limit) const {
    QString query = FullTextQuery(prefix);
    if (!statements_ || limit <= 0 || query.isEmpty()) {
        return {};
    }
    query += u'*'; // the last word as a prefix
    MatchCollector collector(limit);
    const SqliteStatement& statement = statements_->prefix;
    const StatementReset reset(statement);
    statement.Bind(1, query);
    statement.Bind(2, sqlite3_int64(limit * 2));
    while (!collector.full() && Row(statement)) {
        collector.add(statement);
    }
    return collector.take();
}

qint64 RecordStore::wordFrequency(const QString& word) const {
    if (!statements_ || !statements_->hasFrequencies || word.isEmpty()) {
        return 0;
    }
    const SqliteStatement& statement = statements_->frequency;
    const StatementReset reset(statement);
    statement.Bind(1, word);
    return Row(statement) ? statement.integer(0) : 0;
}

bool RecordStore::hasWordFrequencies() const {
    return statements_ && statements_->hasFrequencies;
}

std::vector<WordReading> RecordStore::wordReadings() const {
    std::vector<WordReading> readings;
    SqliteStatement statement;
    const char* sql = hasWordFrequencies() ? kWordReadingsSql : kWordReadingsWithoutCountsSql;
    if (!db_ || !statement.Prepare(db_, sql)) {
        return readings;
    }
    while (Row(statement)) {
        readings.push_back({statement.text(0), statement.text(1), statement.text(2), statement.text(3),
                            statement.text(4), statement.integer(5)});
    }
    return readings;
}

std::vector<CharacterReading> RecordStore::characterReadings() const {
    std::vector<CharacterReading> readings;
    SqliteStatement statement;
    if (!db_ || !statement.Prepare(db_, hasWordFrequencies() ? kCharacterReadingsSql
                                                             : kCharacterReadingsWithoutCountsSql)) {
        return readings;
    }
    while (Row(statement)) {
        readings.push_back(
            {std::uint32_t(statement.integer(0)), statement.text(1), statement.text(2), statement.integer(3)});
    }
    return readings;
}

} // namespace quillory
