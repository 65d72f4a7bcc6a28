#include "dictionary/records/RecordStore.h"

#include "dictionary/records/EnglishSearch.h"
#include "dictionary/records/SqliteStatement.h"
#include "dictionary/records/StoreChecks.h"

#include <QFile>
#include <QStringList>

namespace quillory {

namespace {

constexpr const char* kCharacterSql =
    "SELECT pinyin, jyutping, strokes, radical, frequency, word_count, english2, fanti, jianti, "
    "pinyin_marks, english, radical_forms, example_words FROM characters WHERE code = ?1";

constexpr const char* kWordSql =
    "SELECT pinyin, jyutping, english FROM words WHERE simplified = ?1 OR traditional = ?1 ORDER BY id";

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

} // namespace

struct RecordStore::Statements {
    SqliteStatement character;
    SqliteStatement word;
    // Stores built before the word counts have no frequency table.
    SqliteStatement frequency;
    bool hasFrequencies = false;
    EnglishSearch english;

    bool Prepare(sqlite3* db) {
        hasFrequencies = frequency.Prepare(db, kFrequencySql);
        return character.Prepare(db, kCharacterSql) && word.Prepare(db, kWordSql) &&
               english.Prepare(db, hasFrequencies);
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
        // Look-ups read pages all over the store (the English search joins
        // five tables): a page cache of this many KiB keeps the pages they
        // need in memory instead of reading them again on every look-up.
        sqlite3_exec(db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
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
    return StepRow(statement, faults_);
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
    return statements_ ? statements_->english.matches(query, limit, faults_) : std::vector<EnglishMatch>();
}

std::vector<EnglishMatch> RecordStore::englishPrefixMatches(const QString& prefix, int limit) const {
    return statements_ ? statements_->english.prefixMatches(prefix, limit, faults_)
                       : std::vector<EnglishMatch>();
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
        readings.push_back({std::uint32_t(statement.integer(0)), statement.text(1), statement.text(2),
                            statement.integer(3)});
    }
    return readings;
}

} // namespace quillory
