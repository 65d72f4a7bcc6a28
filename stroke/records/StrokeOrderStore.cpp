#include "stroke/records/StrokeOrderStore.h"

#include "stroke/records/StrokeOrderFormat.h"

#include <QFile>
#include <algorithm>

namespace quillory::stroke {

int FindRecordInChunk(QByteArrayView chunk, std::uint32_t code, StrokeOrderBytes& record) {
    record.fill(0);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(chunk.data());
    const qsizetype size = chunk.size();
    for (qsizetype pos = 0; pos < size;) {
        if (size - pos < kStrokeRecordHeadSize)
            return -1;
        const std::uint32_t recordCode = bytes[pos] | (bytes[pos + 1] << 8);
        const int count = bytes[pos + 2];
        const qsizetype body = pos + kStrokeRecordHeadSize;
        if (count > kMaxStrokeEntries || size - body < 2 * count)
            return -1;
        if (recordCode == code) {
            std::copy_n(bytes + body, 2 * count, record.begin());
            return count;
        }
        // Records are in ascending code order: the code cannot come later.
        if (recordCode > code)
            return 0;
        pos = body + 2 * count;
    }
    return 0;
}

int ReadStrokeOrderRecord(QIODevice& file, const ChunkRef& ref, std::uint32_t code,
                          StrokeOrderBytes& record) {
    record.fill(0);
    qint64 length = kMaxStrokeChunkSize;
    if (ref.nextPosition != 0) {
        if (ref.nextPosition <= ref.position)
            return -1;
        length = std::min<qint64>(length, qint64(ref.nextPosition) - ref.position);
    }
    if (!file.seek(ref.position))
        return -1;
    const QByteArray chunk = file.read(length);
    if (ref.nextPosition != 0 && chunk.size() != length)
        return -1;
    return FindRecordInChunk(chunk, code, record);
}

StrokeOrderStore::StrokeOrderStore(const DataIndex& index, QString chunkFilePath)
    : index_(index), path_(std::move(chunkFilePath)) {}

int StrokeOrderStore::ReadRecord(std::uint32_t code, StrokeOrderBytes& record) const {
    record.fill(0);
    const std::optional<ChunkRef> ref = index_.FindStrokeOrderChunk(code);
    if (!ref)
        return 0;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return ReadStrokeOrderRecord(file, *ref, code, record);
}

} // namespace quillory::stroke
