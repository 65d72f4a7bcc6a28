#include "dictionary/records/RecordStore.h"

#include "dictionary/records/EnglishGloss.h"
#include "dictionary/records/SqliteStatement.h"

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

constexpr const char* kFormatSql = "SELECT value FROM meta WHERE key = 'format'";

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

// Feeds a prepared match query's rows to the collector. An SQLite error ends
// the rows early: the matches so far still stand.
void Collect(const SqliteStatement& statement, MatchCollector& collector) {
    while (!collector.full() && statement.Step() == SQLITE_ROW) {
        collector.add(statement);
    }
}

} // namespace

struct RecordStore::Statements {
    SqliteStatement character;
    SqliteStatement word;
    SqliteStatement wholeGloss;
    SqliteStatement glossRange;
    SqliteStatement fullText;

    bool Prepare(sqlite3* db) {
        return character.Prepare(db, kCharacterSql) && word.Prepare(db, kWordSql) &&
               wholeGloss.Prepare(db, kWholeGlossSql) && glossRange.Prepare(db, kGlossRangeSql) &&
               fullText.Prepare(db, kFullTextSql);
    }
};

RecordStore::RecordStore() = default;

RecordStore::~RecordStore() {
    Close();
}

bool RecordStore::Open(const QString& path) {
    Close();
    sqlite3* db = nullptr;
    const int result =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    // A file that is no store of this layout fails here, not at the first look-up.
    bool valid = false;
    {
        SqliteStatement format;
        if (format.Prepare(db, kFormatSql) && format.Step() == SQLITE_ROW) {
            valid = format.text(0) == QString::number(kFormatVersion);
        }
    }
    auto statements = std::make_unique<Statements>();
    if (!valid || !statements->Prepare(db)) {
        statements.reset();
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    statements_ = std::move(statements);
    return true;
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
    if (statement.Step() != SQLITE_ROW) {
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
    while (statement.Step() == SQLITE_ROW) {
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

    {
        const SqliteStatement& whole = statements_->wholeGloss;
        const StatementReset reset(whole);
        whole.Bind(1, normalised);
        whole.Bind(3, sqlite3_int64(limit));
        Collect(whole, collector);
    }
    // Glosses starting with the query's words: normalised glosses hold single
    // blanks between words, so they lie in [query + " ", query + "!").
    {
        const SqliteStatement& range = statements_->glossRange;
        const StatementReset reset(range);
        range.Bind(1, normalised + u' ');
        range.Bind(2, normalised + u'!');
        range.Bind(3, sqlite3_int64(limit + collector.seenCount()));
        Collect(range, collector);
    }
    if (collector.full()) {
        return collector.take();
    }
    const SqliteStatement& fullText = statements_->fullText;
    const StatementReset reset(fullText);
    fullText.Bind(1, FullTextQuery(query));
    fullText.Bind(2, sqlite3_int64(limit + collector.seenCount()));
    Collect(fullText, collector);
    return collector.take();
}

} // namespace quillory
