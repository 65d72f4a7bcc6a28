#pragma once
// Writes the record store (a SQLite database) from the merged sources.
#include "datagen/sources/SourceData.h"

#include <QString>

namespace quillory::datagen {

struct RecordStoreStats {
    int characters = 0;
    int words = 0;
    int readingKeys = 0;
    qint64 fileSize = 0;
};

// Replaces any file at path; writes to a temporary file beside it first.
bool WriteRecordStore(const SourceData& source, const QString& path, QString* error,
                      RecordStoreStats* stats = nullptr);

} // namespace quillory::datagen
