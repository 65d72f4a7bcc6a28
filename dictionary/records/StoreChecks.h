#pragma once
// The checks the record store makes when it opens, and how SQLite's results
// read to the user: a lock another program holds, a damaged file, a file
// that is no store of this layout.
#include <QString>

struct sqlite3;

namespace quillory {

class DataFaults;
class SqliteStatement;

// How long a look-up waits for a lock that another program holds on the
// store before it gives up with SQLITE_BUSY.
inline constexpr int kStoreBusyTimeoutMs = 1000;

// SQLITE_BUSY or SQLITE_LOCKED, extended codes included.
bool IsLockResult(int result);

// The layout version in the meta table, then PRAGMA quick_check of the
// characters table (some 30 ms on the full store; the whole store would take
// about a second). SQLITE_OK for a sound store of this layout, SQLITE_NOTADB
// for another SQLite file, else the error met (SQLITE_CORRUPT for a check
// that found damage).
int CheckStore(sqlite3* db, int formatVersion);

// The message for a store that did not open with that result.
QString OpenErrorText(const QString& path, int result);

// What a look-up's SQLite error says about the store ("records.db: ...").
QString LookupErrorText(int result);

// Steps a look-up: SQLITE_ROW gives true, SQLITE_DONE false, any other result
// false with the fault noted (when faults is given), so that damage and locks
// are never mistaken for "no row".
bool StepRow(const SqliteStatement& statement, DataFaults* faults);

} // namespace quillory
