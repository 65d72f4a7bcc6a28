#include "datagen/writers/IndexWriter.h"

#include "dictionary/files/DataFormat.h"

#include <QSaveFile>
#include <array>
#include <random>
#include <zlib.h>

namespace quillory::datagen {

namespace {

using Bodies = std::array<QByteArray, kIndexSectionCount>;

void AppendFixed(QByteArray& body, int section, const FixedIndexEntry& entry) {
    const int size = FixedEntrySize(section);
    const qsizetype at = body.size();
    body.resize(at + size);
    EncodeFixedEntry(section, entry, body.data() + at);
}

QByteArray SoundBody(int section, const std::vector<SoundEntry>& entries) {
    QByteArray body;
    for (const SoundEntry& e : entries)
        AppendFixed(body, section, {e.key, e.key, e.position});
    return body;
}

QByteArray RangeBody(int section, const std::vector<RangeEntry>& entries) {
    QByteArray body;
    for (const RangeEntry& e : entries)
        AppendFixed(body, section, {e.low, e.high, e.position});
    return body;
}

QByteArray StrokeCountBody(const std::vector<StrokeCountEntry>& entries) {
    QByteArray body;
    for (const StrokeCountEntry& e : entries)
        AppendFixed(body, kStrokeCountSection, {e.lowest, e.highest, e.position});
    return body;
}

bool RadicalBody(const std::vector<RadicalEntry>& entries, QByteArray& body, QString* error) {
    for (const RadicalEntry& e : entries) {
        const QByteArray entry = EncodeRadicalEntry(e.lowKey, e.highKey, e.position);
        if (entry.isEmpty()) {
            if (error)
                *error = QStringLiteral("radical chunk entry %1..%2: bound texts longer than %3 bytes")
                             .arg(QString::fromLatin1(e.lowKey), QString::fromLatin1(e.highKey))
                             .arg(kRadicalEntryMaxTexts);
            return false;
        }
        body += entry;
    }
    return true;
}

QByteArray SyllableListBody(int section, const std::vector<SyllableId>& ids) {
    QByteArray body(qsizetype(ids.size()) * 2, '\0');
    for (std::size_t i = 0; i < ids.size(); ++i)
        EncodeSyllableListEntry(section, ids[i], body.data() + 2 * i);
    return body;
}

QByteArray StrokeCountListBody(const std::vector<std::uint8_t>& counts) {
    QByteArray body;
    for (std::uint8_t count : counts)
        body.append(char(EncodeStrokeCountByte(count)));
    return body;
}

// Incompressible filler; seeded so that the same content gives the same file.
QByteArray PaddingBytes(int size) {
    std::mt19937 generator(0x51C7A3u + std::uint32_t(size));
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(generator() >> 24);
    return bytes;
}

void WriteBE16(QByteArray& data, int at, std::uint16_t value) {
    data[at] = char(value >> 8);
    data[at + 1] = char(value & 0xFF);
}

QString WindowError(int inflatedSize) {
    return QStringLiteral(
               "the index needs %1 bytes and cannot be packed into an index file of %2 to %3 bytes "
               "that inflates into at most %3 bytes")
        .arg(inflatedSize)
        .arg(kIndexMinFileSize)
        .arg(kIndexMaxSize);
}

} // namespace

QByteArray BuildInflatedIndex(const IndexContent& content, int paddingSize, QString* error) {
    Bodies bodies;
    bodies[kJyutpingSoundSection] = SoundBody(kJyutpingSoundSection, content.jyutpingSounds);
    bodies[kPinyinSoundSection] = SoundBody(kPinyinSoundSection, content.pinyinSounds);
    bodies[kUnusedSection2] = PaddingBytes(std::max(paddingSize, 0));
    bodies[kStrokeOrderSection] = RangeBody(kStrokeOrderSection, content.strokeOrder);
    bodies[kStrokeCountSection] = StrokeCountBody(content.strokeCountChunks);
    bodies[kPinyinChunkSection] = RangeBody(kPinyinChunkSection, content.pinyinChunks);
    bodies[kJyutpingChunkSection] = RangeBody(kJyutpingChunkSection, content.jyutpingChunks);
    if (!RadicalBody(content.radicalChunks, bodies[kRadicalChunkSection], error))
        return {};
    bodies[kPinyinSyllableSection] = SyllableListBody(kPinyinSyllableSection, content.pinyinSyllables);
    bodies[kJyutpingSyllableSection] = SyllableListBody(kJyutpingSyllableSection, content.jyutpingSyllables);
    bodies[kStrokeCountListSection] = StrokeCountListBody(content.strokeCounts);
    if (content.radicalTable.contains('\0')) {
        if (error)
            *error = QStringLiteral("the radical table holds a NUL byte, which would cut it short");
        return {};
    }
    bodies[kRadicalTableSection] = content.radicalTable;
    ScrambleRadicalTable(bodies[kRadicalTableSection].data(), bodies[kRadicalTableSection].size());

    qsizetype total = kIndexHeaderSize;
    for (const QByteArray& body : bodies)
        total += body.size();
    // Section ends are 16-bit offsets from base + 5, and L is 16-bit.
    const int base = kIndexWrittenBase + kIndexDescriptorsOffset;
    if (total > 0xFFFF) {
        if (error)
            *error = QStringLiteral("the index needs %1 bytes, beyond its 16-bit offsets").arg(total);
        return {};
    }

    QByteArray index(kIndexHeaderSize, '\0');
    index.reserve(total);
    index[kIndexBaseOffset] = char(kIndexWrittenBase);
    for (int k = 0; k < kIndexSectionCount; ++k) {
        const int descriptor = kIndexDescriptorsOffset + k * kIndexDescriptorSize;
        WriteBE16(index, descriptor, EncodeDescriptorValue(std::uint16_t(index.size() - base)));
        index += bodies[k];
        WriteBE16(index, descriptor + 2, EncodeDescriptorValue(std::uint16_t(index.size() - base)));
    }
    WriteBE16(index, kIndexLengthOffset, std::uint16_t(index.size()));
    const IndexCheckBytes check = ComputeIndexCheckBytes(index);
    index[kIndexCheckAOffset] = char(check.a);
    index[kIndexCheckBOffset] = char(check.b);
    return index;
}

QByteArray PackIndexFile(const QByteArray& inflatedIndex, std::uint16_t version, int level) {
    uLongf size = compressBound(uLong(inflatedIndex.size()));
    QByteArray file(qsizetype(size), '\0');
    if (compress2(reinterpret_cast<Bytef*>(file.data()), &size,
                  reinterpret_cast<const Bytef*>(inflatedIndex.constData()), uLong(inflatedIndex.size()),
                  level) != Z_OK)
        return {};
    file.resize(qsizetype(size));
    ScrambleIndexPayload(file.data(), file.size());
    file.append(char(version >> 8));
    file.append(char(version & 0xFF));
    return file;
}

QByteArray BuildIndexFile(const IndexContent& content, QString* error, IndexFileStats* stats) {
    const QByteArray bare = BuildInflatedIndex(content, 0, error);
    if (bare.isEmpty())
        return {};
    if (bare.size() > kIndexMaxSize) {
        if (error)
            *error = WindowError(int(bare.size()));
        return {};
    }

    // The reader inflates into payload + 10240 bytes at most, so well
    // compressing content needs a weaker level; padding only helps a file
    // that is too short. Stored (level 0) always fits when the bare index does.
    for (int level : {9, 6, 1, 0}) {
        int padding = 0;
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray index = BuildInflatedIndex(content, padding, error);
            if (index.isEmpty() || index.size() > kIndexMaxSize)
                break;
            const QByteArray file = PackIndexFile(index, content.version, level);
            if (file.isEmpty() || file.size() > kIndexMaxSize ||
                index.size() > file.size() - kIndexVersionSize + kIndexInflateSlack)
                break;
            if (file.size() < kIndexMinFileSize) {
                padding += int(kIndexMinFileSize - file.size());
                continue;
            }
            if (stats) {
                stats->inflatedSize = int(index.size());
                stats->fileSize = int(file.size());
                stats->paddingSize = padding;
                stats->compressionLevel = level;
            }
            return file;
        }
    }
    if (error)
        *error = WindowError(int(bare.size()));
    return {};
}

bool WriteIndexFile(const IndexContent& content, const QString& path, QString* error, IndexFileStats* stats) {
    const QByteArray file = BuildIndexFile(content, error, stats);
    if (file.isEmpty())
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
        return false;
    }
    return true;
}

} // namespace quillory::datagen
