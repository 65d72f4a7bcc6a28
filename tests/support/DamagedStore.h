#pragma once
// Record stores in the states a disk fault or another program leaves them:
// pages overwritten with zeros, an exclusive lock held. Links SQLite.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <sqlite3.h>

#include <vector>

namespace quillory::testing {

// Overwrites every page of a table (or index) with zeros, as a disk fault
// would; false when it has no pages or the file cannot be written.
inline bool ZeroTablePages(const QString& path, const char* table) {
    sqlite3* db = nullptr;
    std::vector<sqlite3_int64> pages;
    int pageSize = 0;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db,
                               "SELECT pageno, (SELECT page_size FROM pragma_page_size) FROM dbstat "
                               "WHERE name = ?1",
                               -1, &statement, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(statement, 1, table, -1, SQLITE_STATIC);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                pages.push_back(sqlite3_column_int64(statement, 0));
                pageSize = sqlite3_column_int(statement, 1);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    QFile file(path);
    if (pages.empty() || !file.open(QIODevice::ReadWrite)) {
        return false;
    }
    const QByteArray zeros(pageSize, '\0');
    for (const sqlite3_int64 page : pages) {
        if (!file.seek((page - 1) * pageSize) || file.write(zeros) != zeros.size()) {
            return false;
        }
    }
    return true;
}

// Holds an exclusive lock on a store, as a program writing it would, until
// destroyed: other connections, in this process or another, get SQLITE_BUSY.
class StoreLock {
public:
    explicit StoreLock(const QString& path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK) {
            locked_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        }
    }
    ~StoreLock() { sqlite3_close(db_); } // rolls back and lets go
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool isLocked() const { return locked_; }

private:
    sqlite3* db_ = nullptr;
    bool locked_ = false;
};

} // namespace quillory::testing
