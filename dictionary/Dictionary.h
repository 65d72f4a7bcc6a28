#pragma once
// Owns everything a look-up needs: the open data files, the loaded index, the
// list reader and the record store of one data folder.
#include "CharacterLists.h"
#include "DataFiles.h"
#include "DataIndex.h"
#include "MessageReporter.h"
#include "RecordStore.h"

#include <QString>
#include <memory>

namespace quillory {

class Dictionary {
public:
    Dictionary(const QString& dataFolder, MessageReporter& reporter);

    // Opens the data files, loads the index and opens the record store.
    // True only when all of it succeeded; what did open stays usable.
    bool open();
    void close();

    DataFiles& files() { return files_; }
    const DataIndex& index() const { return index_; }
    CharacterLists& lists() { return lists_; }
    const RecordStore& records() const { return records_; }

    static QString recordStoreName() { return QStringLiteral("records.db"); }

private:
    MessageReporter& reporter_;
    DataFiles files_;
    DataIndex index_;
    CharacterLists lists_;
    RecordStore records_;
};

} // namespace quillory
