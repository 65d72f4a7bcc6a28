#include "datagen/writers/RecordStoreWriter.h"

#include "datagen/writers/ReadingKeyRows.h"
#include "datagen/writers/RecordRows.h"
#include "dictionary/records/EnglishGloss.h"
#include "dictionary/records/RecordStore.h"
#include "dictionary/records/SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace quillory::datagen {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE characters(
    code INTEGER PRIMARY KEY, pinyin TEXT NOT NULL, jyutping TEXT NOT NULL, strokes INTEGER NOT NULL,
    radical TEXT NOT NULL, frequency INTEGER NOT NULL, word_count INTEGER NOT NULL,
    english2 TEXT NOT NULL, fanti TEXT NOT NULL, jianti TEXT NOT NULL, pinyin_marks TEXT NOT NULL,
    english TEXT NOT NULL, radical_forms TEXT NOT NULL, example_words TEXT NOT NULL);
CREATE TABLE words(
    id INTEGER PRIMARY KEY, traditional TEXT NOT NULL, simplified TEXT NOT NULL,
    pinyin TEXT NOT NULL, jyutping TEXT NOT NULL, english TEXT NOT NULL);
CREATE TABLE english_entries(
    id INTEGER PRIMARY KEY, word TEXT NOT NULL, pinyin TEXT NOT NULL, english TEXT NOT NULL,
    is_character INTEGER NOT NULL, gloss_count INTEGER NOT NULL, length INTEGER NOT NULL,
    commonness INTEGER NOT NULL);
CREATE TABLE english_glosses(
    gloss TEXT NOT NULL, entry INTEGER NOT NULL, position INTEGER NOT NULL,
    PRIMARY KEY(gloss, entry)) WITHOUT ROWID;
CREATE TABLE word_frequencies(word TEXT PRIMARY KEY, count INTEGER NOT NULL) WITHOUT ROWID;
CREATE VIRTUAL TABLE english_fts USING fts5(
    english, content='english_entries', content_rowid='id',
    tokenize='porter unicode61 remove_diacritics 2');
)sql";

// Indexes are built after the rows are in: much faster than keeping them up.
constexpr const char* kIndexes = R"sql(
CREATE INDEX words_by_simplified ON words(simplified);
CREATE INDEX words_by_traditional ON words(traditional);
INSERT INTO english_fts(english_fts) VALUES('rebuild');
INSERT INTO english_fts(english_fts) VALUES('optimize');
)sql";

class StoreBuilder {
public:
    StoreBuilder(sqlite3* db, const SourceData& source) : db_(db), source_(source), grades_(source) {}

    bool Build(RecordStoreStats* stats) {
        if (!Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;") || !Exec(kSchema) ||
            !Exec(kReadingKeysSchema) || !PrepareStatements() || !WriteMeta() || !WriteCharacters(stats) ||
            !WriteWords(stats) || !WriteReadingKeys(stats) || !WriteFrequencies() || !WriteEnglishEntries() ||
            !WriteGlosses() || !Exec(kIndexes) || !Exec(kReadingKeysIndex) || !Exec("COMMIT;") ||
            !Exec("ANALYZE;")) {
            return false;
        }
        return true;
    }

    QString error() const { return error_; }

private:
    bool Exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            error_ = QString::fromUtf8(message ? message : sqlite3_errmsg(db_));
            sqlite3_free(message);
            return false;
        }
        return true;
    }

    bool Prepare(SqliteStatement& statement, const char* sql) {
        if (!statement.Prepare(db_, sql)) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return false;
        }
        return true;
    }

    bool PrepareStatements() {
        return Prepare(meta_, "INSERT INTO meta(key, value) VALUES(?1, ?2)") &&
               Prepare(character_, "INSERT INTO characters VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                                   "?11, ?12, ?13, ?14)") &&
               Prepare(word_, "INSERT INTO words VALUES(?1, ?2, ?3, ?4, ?5, ?6)") &&
               Prepare(entry_, "INSERT INTO english_entries VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)") &&
               Prepare(gloss_, "INSERT INTO english_glosses VALUES(?1, ?2, ?3)") &&
               Prepare(frequency_, "INSERT INTO word_frequencies VALUES(?1, ?2)") &&
               Prepare(readingKey_, "INSERT INTO reading_keys VALUES(?1, ?2, ?3, ?4, ?5)");
    }

    bool Run(const SqliteStatement& statement) {
        const int result = statement.Step();
        statement.Reset();
        if (result != SQLITE_DONE) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return false;
        }
        return true;
    }

    bool WriteMeta() {
        const QString format = QString::number(RecordStore::kFormatVersion);
        meta_.Bind(1, QStringLiteral("format"));
        meta_.Bind(2, format);
        if (!Run(meta_)) {
            return false;
        }
        meta_.Bind(1, QStringLiteral("cedict_header"));
        meta_.Bind(2, source_.cedictHeader);
        return Run(meta_);
    }

    bool WriteCharacters(RecordStoreStats* stats) {
        for (const CharacterRow& row : BuildCharacterRows(source_, grades_)) {
            character_.Bind(1, sqlite3_int64(row.code));
            character_.Bind(2, row.pinyin);
            character_.Bind(3, row.jyutping);
            character_.Bind(4, sqlite3_int64(row.strokes));
            character_.Bind(5, row.radical);
            character_.Bind(6, sqlite3_int64(row.frequency));
            character_.Bind(7, sqlite3_int64(row.wordCount));
            character_.Bind(8, row.english2);
            character_.Bind(9, row.fanti);
            character_.Bind(10, row.jianti);
            character_.Bind(11, row.pinyinMarks);
            character_.Bind(12, row.english);
            character_.Bind(13, row.radicalForms);
            character_.Bind(14, row.exampleWords);
            if (!Run(character_)) {
                return false;
            }
            ++stats->characters;
            // A character whose English is only the dictionary's glosses is
            // found through its single-character dictionary entries instead.
            if (row.hasDefinition) {
                const QString readings =
                    row.pinyin.split(u' ', Qt::SkipEmptyParts).join(QStringLiteral(" / "));
                const char32_t code = row.code;
                const QString word = QString::fromUcs4(&code, 1);
                if (!WriteEnglishEntry(word, readings, row.english, true, grades_.commonness(word))) {
                    return false;
                }
            }
        }
        return true;
    }

    bool WriteWords(RecordStoreStats* stats) {
        sqlite3_int64 id = 0;
        for (const WordSource& source : source_.words) {
            word_.Bind(1, ++id);
            word_.Bind(2, source.traditional);
            word_.Bind(3, source.simplified);
            word_.Bind(4, source.pinyin);
            word_.Bind(5, source.jyutping);
            word_.Bind(6, source.english);
            if (!Run(word_)) {
                return false;
            }
            ++stats->words;
            if (!WriteEnglishEntry(source.simplified, source.pinyin, source.english, false,
                                   grades_.commonness(source.simplified))) {
                return false;
            }
        }
        return true;
    }

    bool WriteReadingKeys(RecordStoreStats* stats) {
        for (const ReadingKeyRow& row : BuildReadingKeyRows(source_)) {
            readingKey_.Bind(1, sqlite3_int64(row.wordId));
            readingKey_.Bind(2, sqlite3_int64(static_cast<int>(row.system)));
            readingKey_.Bind(3, row.letters);
            readingKey_.Bind(4, row.reading);
            readingKey_.Bind(5, sqlite3_int64(row.count));
            if (!Run(readingKey_)) {
                return false;
            }
            ++stats->readingKeys;
        }
        return true;
    }

    // Keys come sorted, so the table's tree is only ever appended to.
    bool WriteFrequencies() {
        for (const auto& [word, count] : BuildWordFrequencies(source_)) {
            frequency_.Bind(1, word);
            frequency_.Bind(2, sqlite3_int64(count));
            if (!Run(frequency_)) {
                return false;
            }
        }
        return true;
    }

    // One entry of the English search, written later in order of commonness.
    bool WriteEnglishEntry(const QString& word, const QString& pinyin, const QString& english,
                           bool isCharacter, int commonness) {
        entries_.push_back({word, pinyin, english, isCharacter, commonness, word.toUcs4().size()});
        return true;
    }

    // Entries get their ids in order of commonness (then length), so that the
    // full-text index hands out the most common matches first and a search
    // for a very frequent word can stop after a bounded number of them.
    bool WriteEnglishEntries() {
        std::stable_sort(entries_.begin(), entries_.end(), [](const EntryRow& a, const EntryRow& b) {
            return std::tie(a.commonness, a.length) < std::tie(b.commonness, b.length);
        });
        for (const EntryRow& row : entries_) {
            const QStringList glosses = SplitGlosses(row.english);
            if (glosses.isEmpty()) {
                continue;
            }
            const sqlite3_int64 id = ++entryId_;
            entry_.Bind(1, id);
            entry_.Bind(2, row.word);
            entry_.Bind(3, row.pinyin);
            entry_.Bind(4, row.english);
            entry_.Bind(5, sqlite3_int64(row.isCharacter ? 1 : 0));
            entry_.Bind(6, sqlite3_int64(glosses.size()));
            entry_.Bind(7, sqlite3_int64(row.length));
            entry_.Bind(8, sqlite3_int64(row.commonness));
            if (!Run(entry_)) {
                return false;
            }
            QStringList written; // an entry's glosses are few
            for (qsizetype position = 0; position < glosses.size(); ++position) {
                const QString normalised = NormaliseGloss(glosses[position]);
                if (normalised.isEmpty() || written.contains(normalised)) {
                    continue;
                }
                written.append(normalised);
                glosses_.push_back({normalised.toUtf8(), id, position});
            }
        }
        entries_.clear();
        return true;
    }

    // Glosses go in in key order: appending to the gloss table's tree is much
    // faster than inserting all over it.
    bool WriteGlosses() {
        std::sort(glosses_.begin(), glosses_.end(), [](const GlossRow& a, const GlossRow& b) {
            return std::tie(a.gloss, a.entry) < std::tie(b.gloss, b.entry);
        });
        for (const GlossRow& row : glosses_) {
            gloss_.Bind(1, row.gloss);
            gloss_.Bind(2, row.entry);
            gloss_.Bind(3, sqlite3_int64(row.position));
            if (!Run(gloss_)) {
                return false;
            }
        }
        return true;
    }

    struct EntryRow {
        QString word;
        QString pinyin;
        QString english;
        bool isCharacter = false;
        int commonness = 0;
        qsizetype length = 0;
    };

    struct GlossRow {
        QByteArray gloss; // normalised, UTF-8: sorts as SQLite compares it
        sqlite3_int64 entry = 0;
        qsizetype position = 0;
    };

    sqlite3* db_;
    const SourceData& source_;
    const FrequencyGrades grades_;
    QString error_;
    sqlite3_int64 entryId_ = 0;
    std::vector<EntryRow> entries_;
    std::vector<GlossRow> glosses_;
    SqliteStatement meta_, character_, word_, entry_, gloss_, frequency_, readingKey_;
};

// Creates an empty file with a unique name beside path; empty on failure.
QString ReserveTemporaryFile(const QString& path) {
    const QFileInfo target(path);
    QTemporaryFile file(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!file.open()) {
        return {};
    }
    file.setAutoRemove(false);
    // Temporary files are private; the finished store is an ordinary data file.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    return file.fileName();
}

bool SyncFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    return ::fsync(file.handle()) == 0;
}

bool WriteDatabase(const SourceData& source, const QString& path, QString* error, RecordStoreStats* stats) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return false;
    }
    bool built = false;
    {
        // Statements must be finalised before the database closes.
        StoreBuilder builder(db, source);
        built = builder.Build(stats);
        if (!built) {
            *error = builder.error();
        }
    }
    if (sqlite3_close(db) != SQLITE_OK && built) {
        *error = QStringLiteral("the database could not be closed");
        return false;
    }
    return built;
}

} // namespace

bool WriteRecordStore(const SourceData& source, const QString& path, QString* error,
                      RecordStoreStats* stats) {
    QString ignoredError;
    RecordStoreStats ignoredStats;
    error = error ? error : &ignoredError;
    stats = stats ? stats : &ignoredStats;
    *stats = {};

    const QString temporary = ReserveTemporaryFile(path);
    if (temporary.isEmpty()) {
        *error = QStringLiteral("cannot create a file beside %1").arg(path);
        return false;
    }
    if (!WriteDatabase(source, temporary, error, stats)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, *error);
        QFile::remove(temporary);
        return false;
    }
    if (!SyncFile(temporary) ||
        std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = QStringLiteral("cannot replace %1").arg(path);
        QFile::remove(temporary);
        return false;
    }
    stats->fileSize = QFileInfo(path).size();
    return true;
}

} // namespace quillory::datagen
