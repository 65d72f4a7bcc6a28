#pragma once
// Owns everything a look-up needs: the open data files, the loaded index, the
// list reader, the record store with its search look-ups and the syllable
// sounds of one data folder.
#include "dictionary/lists/CharacterLists.h"
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataIndex.h"
#include "dictionary/text/DataFaults.h"
#include "dictionary/text/MessageReporter.h"
#include "dictionary/records/RecordStore.h"
#include "dictionary/search/Lookup.h"
#include "dictionary/sounds/SoundStore.h"

#include <QString>
#include <memory>

namespace quillory {

class Dictionary {
public:
    Dictionary(const QString& dataFolder, MessageReporter& reporter);

    enum class Sounds { Open, Skip };

    // Opens the data files, loads the index and opens the record store and,
    // unless told to skip it, the sound archive. True only when the files,
    // index and record store opened; what did open stays usable. Without a
    // usable sound archive the dictionary works and soundError() says why no
    // syllable plays.
    bool Open(Sounds sounds = Sounds::Open);
    void Close();

    DataFiles& files() { return files_; }
    const DataIndex& index() const { return index_; }
    CharacterLists& lists() { return lists_; }
    const RecordStore& records() const { return records_; }
    // What the search box finds, over the record store; from this thread only.
    const Lookup& lookup() const { return lookup_; }
    const SoundStore& sounds() const { return sounds_; }
    QString soundError() const { return sounds_.error(); }
    // Damage that look-ups met in the lists and the record store; the first
    // is shown through the reporter, once per session.
    const DataFaults& faults() const { return faults_; }

    static QString recordStoreName() { return QStringLiteral("records.db"); }
    static QString soundArchiveName() { return QStringLiteral("sounds.dat"); }

private:
    MessageReporter& reporter_;
    DataFaults faults_;
    DataFiles files_;
    DataIndex index_;
    CharacterLists lists_;
    RecordStore records_;
    Lookup lookup_{records_};
    SoundStore sounds_;
};

} // namespace quillory
