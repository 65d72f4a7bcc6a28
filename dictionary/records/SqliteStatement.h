#pragma once
// A prepared SQLite statement that finalises itself, with the few binding
// and reading helpers the record store and its writer need.
#include <QByteArray>
#include <QString>
#include <sqlite3.h>

namespace quillory {

class SqliteStatement {
public:
    SqliteStatement() = default;
    ~SqliteStatement() { sqlite3_finalize(stmt_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Prepare(sqlite3* db, const char* sql) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) == SQLITE_OK;
    }
    sqlite3_stmt* get() const { return stmt_; }

    void Bind(int index, const QString& text) const { Bind(index, text.toUtf8()); }
    void Bind(int index, const QByteArray& utf8) const {
        sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void Bind(int index, sqlite3_int64 value) const { sqlite3_bind_int64(stmt_, index, value); }

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() const { return sqlite3_step(stmt_); }
    // Ready for the next use; bindings are cleared too.
    void Reset() const {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    QString text(int column) const {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
    }
    sqlite3_int64 integer(int column) const { return sqlite3_column_int64(stmt_, column); }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Resets a shared statement when a look-up leaves, whichever way it leaves.
class StatementReset {
public:
    explicit StatementReset(const SqliteStatement& statement) : statement_(statement) {}
    ~StatementReset() { statement_.Reset(); }
    StatementReset(const StatementReset&) = delete;
    StatementReset& operator=(const StatementReset&) = delete;

private:
    const SqliteStatement& statement_;
};

} // namespace quillory
