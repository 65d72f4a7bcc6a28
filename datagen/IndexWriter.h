#pragma once
// Writes the dictionary index file (oxa.dat) from its sections.
#include "IndexContent.h"

#include <QByteArray>
#include <QString>

namespace quillory::datagen {

struct IndexFileStats {
    int inflatedSize = 0; // bytes of the index before compression
    int fileSize = 0;     // bytes of oxa.dat
    int paddingSize = 0;  // bytes put into the unused sections to meet the size window
};

// The complete file image; empty with an error text when the sections do not
// fit or the file-size window cannot be met.
QByteArray BuildIndexFile(const IndexContent& content, QString* error, IndexFileStats* stats = nullptr);
bool WriteIndexFile(const IndexContent& content, const QString& path, QString* error,
                    IndexFileStats* stats = nullptr);

} // namespace quillory::datagen
