#pragma once
// The English search of the record store: Chinese entries for an English word
// or phrase, and for the start of one being typed, ranked so that the
// everyday word a learner means comes first (see the README's "English
// searches rank" paragraph).
#include "dictionary/records/RecordStore.h"
#include "dictionary/records/SqliteStatement.h"

#include <QString>
#include <vector>

namespace quillory {

class DataFaults;
struct EnglishCandidate;

// Shares the store's connection and, like it, answers one thread at a time.
class EnglishSearch {
public:
    // False when a statement does not prepare on this store. In a store
    // without word counts every entry counts 0.
    bool Prepare(sqlite3* db, bool hasFrequencies);

    // SQLite errors end a look-up early with the rows read so far; they are
    // noted in faults when it is not null.
    std::vector<EnglishMatch> matches(const QString& query, int limit, DataFaults* faults) const;
    std::vector<EnglishMatch> prefixMatches(const QString& prefix, int limit, DataFaults* faults) const;

private:
    // Every row of a bound candidate statement, in the statement's order.
    std::vector<EnglishCandidate> Read(const SqliteStatement& statement, DataFaults* faults) const;
    // The count the entry takes, and whether it is a rare character, from
    // the candidate row.
    static void Weigh(EnglishCandidate& candidate, const SqliteStatement& row);

    SqliteStatement wholeGloss_;
    SqliteStatement glossRange_;
    SqliteStatement fullText_;
    SqliteStatement glossPrefix_;
    SqliteStatement wordPrefix_;
};

} // namespace quillory
