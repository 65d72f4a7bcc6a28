#pragma once
// Writes the dictionary index file (oxa.dat) from its sections.
#include "datagen/writers/IndexContent.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace quillory::datagen {

struct IndexFileStats {
    int inflatedSize = 0;     // bytes of the index before compression
    int fileSize = 0;         // bytes of oxa.dat
    int paddingSize = 0;      // bytes put into the unused sections to meet the size window
    int compressionLevel = 0; // zlib level the payload was written with
};

// The complete file image; empty with an error text when the sections do not
// fit or the file-size window cannot be met.
QByteArray BuildIndexFile(const IndexContent& content, QString* error, IndexFileStats* stats = nullptr);
bool WriteIndexFile(const IndexContent& content, const QString& path, QString* error,
                    IndexFileStats* stats = nullptr);

// The inflated index: header, descriptors and section bodies, with
// paddingSize random bytes in an unused section. Empty with an error text
// when an entry cannot be encoded or the index outgrows 16-bit offsets.
QByteArray BuildInflatedIndex(const IndexContent& content, int paddingSize, QString* error);
// Compresses an inflated index at the zlib level, scrambles it with the file
// key and appends the version; no size checks.
QByteArray PackIndexFile(const QByteArray& inflatedIndex, std::uint16_t version, int level);

} // namespace quillory::datagen
