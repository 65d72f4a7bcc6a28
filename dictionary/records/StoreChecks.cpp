#include "dictionary/records/StoreChecks.h"

#include "dictionary/records/SqliteStatement.h"
#include "dictionary/text/DataFaults.h"

namespace quillory {
namespace {

constexpr const char* kFormatSql = "SELECT value FROM meta WHERE key = 'format'";
constexpr const char* kQuickCheckSql = "PRAGMA quick_check(characters)";

int CheckFormat(sqlite3* db, int formatVersion) {
    SqliteStatement format;
    if (!format.Prepare(db, kFormatSql)) {
        const int result = sqlite3_extended_errcode(db);
        return (result & 0xFF) == SQLITE_ERROR ? SQLITE_NOTADB : result; // no meta table
    }
    const int result = format.Step();
    if (result == SQLITE_ROW) {
        return format.text(0) == QString::number(formatVersion) ? SQLITE_OK : SQLITE_NOTADB;
    }
    return result == SQLITE_DONE ? SQLITE_NOTADB : result;
}

int QuickCheck(sqlite3* db) {
    SqliteStatement check;
    if (!check.Prepare(db, kQuickCheckSql)) {
        return sqlite3_extended_errcode(db);
    }
    const int result = check.Step();
    if (result == SQLITE_ROW) {
        return check.text(0) == QLatin1String("ok") ? SQLITE_OK : SQLITE_CORRUPT;
    }
    return result == SQLITE_DONE ? SQLITE_CORRUPT : result;
}

} // namespace

bool IsLockResult(int result) {
    const int primary = result & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

int CheckStore(sqlite3* db, int formatVersion) {
    const int result = CheckFormat(db, formatVersion);
    return result == SQLITE_OK ? QuickCheck(db) : result;
}

QString OpenErrorText(const QString& path, int result) {
    if (IsLockResult(result)) {
        return QStringLiteral("Cannot read %1: another program holds it locked.").arg(path);
    }
    switch (result & 0xFF) {
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return QStringLiteral("Cannot open ") + path + QStringLiteral(" to read or write.");
    case SQLITE_NOTADB:
        return QStringLiteral("%1 is no record store of this program.").arg(path);
    default:
        return QStringLiteral("%1 is damaged (%2).").arg(path, QString::fromUtf8(sqlite3_errstr(result)));
    }
}

QString LookupErrorText(int result) {
    return QStringLiteral("records.db: ") + (IsLockResult(result)
                                                 ? QStringLiteral("another program holds it locked")
                                                 : QString::fromUtf8(sqlite3_errstr(result)));
}

bool StepRow(const SqliteStatement& statement, DataFaults* faults) {
    const int result = statement.Step();
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE && faults != nullptr) {
        faults->Report(LookupErrorText(result));
    }
    return false;
}

} // namespace quillory
