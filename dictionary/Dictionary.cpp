#include "dictionary/Dictionary.h"

namespace quillory {

Dictionary::Dictionary(const QString& dataFolder, MessageReporter& reporter)
    : reporter_(reporter), files_(dataFolder, reporter), index_(reporter), lists_(files_, index_) {}

bool Dictionary::Open() {
    bool ok = files_.OpenDataFiles();
    QFile* indexFile = files_.indexFile();
    ok = indexFile != nullptr && index_.LoadDataIndex(*indexFile) && ok;
    const QString storePath = files_.DataPath(recordStoreName());
    if (!records_.Open(storePath)) {
        reporter_.showMessage(QStringLiteral("Cannot open ") + storePath +
                              QStringLiteral(" to read or write."));
        ok = false;
    }
    sounds_.Open(files_.DataPath(soundArchiveName()));
    return ok;
}

void Dictionary::Close() {
    sounds_.Close();
    records_.Close();
    files_.CloseDataFiles();
}

} // namespace quillory
