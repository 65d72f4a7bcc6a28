#include "dictionary/Dictionary.h"

namespace quillory {

Dictionary::Dictionary(const QString& dataFolder, MessageReporter& reporter)
    : reporter_(reporter), faults_(&reporter), files_(dataFolder, reporter), index_(reporter),
      lists_(files_, index_, &faults_) {
    records_.setFaults(&faults_);
}

bool Dictionary::Open(Sounds sounds) {
    bool ok = files_.OpenDataFiles();
    QFile* indexFile = files_.indexFile();
    ok = indexFile != nullptr && index_.LoadDataIndex(*indexFile) && ok;
    const QString storePath = files_.DataPath(recordStoreName());
    if (!records_.Open(storePath)) {
        reporter_.showMessage(records_.openError());
        ok = false;
    }
    if (sounds == Sounds::Open) {
        sounds_.Open(files_.DataPath(soundArchiveName()));
    }
    return ok;
}

void Dictionary::Close() {
    sounds_.Close();
    records_.Close();
    files_.CloseDataFiles();
}

} // namespace quillory
