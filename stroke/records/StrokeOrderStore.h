#pragma once
// Reads a character's stroke-order record from the stroke-order store: the
// index names the chunk that covers the code point, the chunk holds the
// record. Every read is bounds-checked, so a damaged chunk or index yields
// no record rather than a crash.
#include "dictionary/files/ChunkRef.h"
#include "dictionary/files/DataIndex.h"
#include "stroke/model/StrokeOrderRecord.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <cstdint>

namespace quillory::stroke {

// Searches one chunk (already read) for the code's record. Clears the
// record, fills it and returns the entry count; 0 when the chunk has no
// record for the code, -1 when the chunk is damaged.
int FindRecordInChunk(QByteArrayView chunk, std::uint32_t code, StrokeOrderBytes& record);

// Reads the chunk ref names from the store file and searches it; the chunk
// runs to the next chunk's position, or to the end of the file when that is 0.
int ReadStrokeOrderRecord(QIODevice& file, const ChunkRef& ref, std::uint32_t code, StrokeOrderBytes& record);

// The store of one data folder: the loaded index and the path of the chunk
// file, which is opened for each read.
class StrokeOrderStore {
public:
    StrokeOrderStore(const DataIndex& index, QString chunkFilePath);

    // The record of a code point: the entry count, 0 or less when there is none.
    int ReadRecord(std::uint32_t code, StrokeOrderBytes& record) const;
    const QString& path() const { return path_; }

private:
    const DataIndex& index_;
    QString path_;
};

} // namespace quillory::stroke
