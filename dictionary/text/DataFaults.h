#pragma once
// Faults found while reading the data folder: a list chunk that fails its
// checks, a record store that answers with an error instead of a row. Readers
// note each one here, so that callers can tell damaged data from an entry
// that is simply not there. The first fault of a session is shown through the
// reporter; later ones are only counted, so a damaged file does not bring up
// a message on every click.
#include "dictionary/text/MessageReporter.h"

#include <QString>

namespace quillory {

class DataFaults {
public:
    explicit DataFaults(MessageReporter* reporter = nullptr) : reporter_(reporter) {}

    // Notes a fault; what names the file and what is wrong with it
    // ("ijk.dat: a chunk does not inflate").
    void Report(const QString& what);

    // Faults noted so far; a caller compares the count before and after a
    // look-up to learn whether that look-up met damaged data.
    int count() const { return count_; }
    const QString& first() const { return first_; }

private:
    MessageReporter* reporter_;
    QString first_;
    int count_ = 0;
};

} // namespace quillory
