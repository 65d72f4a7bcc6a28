#include "dictionary/files/DataIndex.h"

#include "dictionary/files/DataFormat.h"

#include <QLatin1String>
#include <algorithm>
#include <zlib.h>

namespace quillory {

namespace {

const QString kWrongLengthMessage = QStringLiteral("w*r*o*n*g I*N*I f*i*l*e l*e*n*g*t*h*!");
const QString kWrongChecksumMessage = QStringLiteral("w*r*o*n*g I*N*I f*i*l*e d*a*t*a* c*h*e*c*k*s*u*m*!");
const QString kDamagedMessage = QStringLiteral("The index file oxa.dat is damaged: %1.");

// Walks the fixed-size entries of a section and returns the first that
// matches, with the position of the entry after it (0 for the last entry).
// Only entries lying wholly inside the section are read.
template <typename Match>
std::optional<ChunkRef> FindFixedEntry(const QByteArray& index, int section, Match matches) {
    const SectionSpan span = IndexSectionSpan(index, section);
    const int size = FixedEntrySize(section);
    for (int pos = span.start; pos + size <= span.end; pos += size) {
        const FixedIndexEntry entry = DecodeFixedEntry(section, index.constData() + pos);
        if (!matches(entry))
            continue;
        ChunkRef ref;
        ref.position = entry.position;
        ref.low = entry.low;
        ref.high = entry.high;
        const int next = pos + size;
        if (next + size <= span.end)
            ref.nextPosition = DecodeFixedEntry(section, index.constData() + next).position;
        return ref;
    }
    return std::nullopt;
}

std::optional<ChunkRef> FindSyllableChunk(const QByteArray& index, int section, SyllableId id,
                                          Scheme scheme) {
    const std::optional<std::string> wanted = DecodeSyllable(id, scheme);
    if (!wanted)
        return std::nullopt;
    return FindFixedEntry(index, section, [&](const FixedIndexEntry& entry) {
        const std::optional<std::string> low = DecodeSyllable(entry.low, scheme);
        const std::optional<std::string> high = DecodeSyllable(entry.high, scheme);
        // std::string compares chars as unsigned, like strcmp.
        return low && high && low->compare(*wanted) <= 0 && wanted->compare(*high) <= 0;
    });
}

std::vector<SyllableId> ReadSyllableList(const QByteArray& index, int section) {
    const SectionSpan span = IndexSectionSpan(index, section);
    std::vector<SyllableId> ids;
    ids.reserve(span.size() / 2);
    for (int pos = span.start; pos + 2 <= span.end; pos += 2)
        ids.push_back(DecodeSyllableListEntry(section, index.constData() + pos));
    return ids;
}

} // namespace

DataIndex::DataIndex(MessageReporter& reporter) : reporter_(reporter) {}

bool DataIndex::isLoaded() const {
    return !index_.isEmpty();
}

bool DataIndex::LoadDataIndex(QIODevice& file) {
    index_.clear();
    radicalTable_.clear();

    if (!file.isSequential() && !file.seek(0))
        return false;
    QByteArray raw = file.read(kIndexMaxSize);
    if (raw.size() < kIndexMinFileSize)
        return false;
    // The data version is the file's last two bytes: a file longer than
    // what is read would give the version from the wrong place.
    if (!file.isSequential() && file.size() > raw.size()) {
        reporter_.showMessage(kDamagedMessage.arg(QStringLiteral("it is longer than its content")));
        return false;
    }

    const qsizetype payloadSize = raw.size() - kIndexVersionSize;
    version_ = std::uint16_t(std::uint8_t(raw[payloadSize]) << 8 | std::uint8_t(raw[payloadSize + 1]));
    ScrambleIndexPayload(raw.data(), payloadSize);

    const qsizetype capacity = std::min<qsizetype>(payloadSize + kIndexInflateSlack, kIndexMaxSize);
    QByteArray index(capacity, '\0');
    uLongf inflated = uLongf(capacity);
    uLong consumed = uLong(payloadSize);
    const int status = uncompress2(reinterpret_cast<Bytef*>(index.data()), &inflated,
                                   reinterpret_cast<const Bytef*>(raw.constData()), &consumed);
    // A stream cut short (or inflating beyond the window) is the wrong
    // length; one that does not inflate is a damaged index, and so is a file
    // with bytes after the stream, whose version would be read from the
    // wrong place.
    if (status == Z_BUF_ERROR) {
        reporter_.showMessage(kWrongLengthMessage);
        return false;
    }
    if (status != Z_OK) {
        reporter_.showMessage(kDamagedMessage.arg(QStringLiteral("its data does not inflate")));
        return false;
    }
    if (consumed != uLong(payloadSize)) {
        reporter_.showMessage(kDamagedMessage.arg(QStringLiteral("it is longer than its content")));
        return false;
    }
    // A length field that disagrees with what the stream inflates to, or an
    // index too short to hold its own header, is the wrong length.
    if (inflated < uLongf(kIndexHeaderSize)) {
        reporter_.showMessage(kWrongLengthMessage);
        return false;
    }
    index.resize(qsizetype(inflated));
    const std::uint16_t storedLength = std::uint16_t(std::uint8_t(index[0]) << 8 | std::uint8_t(index[1]));
    if (storedLength != (inflated & 0xFFFF)) {
        reporter_.showMessage(kWrongLengthMessage);
        return false;
    }

    const IndexCheckBytes check = ComputeIndexCheckBytes(index);
    if (std::uint8_t(index[kIndexCheckAOffset]) != check.a ||
        std::uint8_t(index[kIndexCheckBOffset]) != check.b) {
        reporter_.showMessage(kWrongChecksumMessage);
        return false;
    }

    const SectionSpan table = IndexSectionSpan(index, kRadicalTableSection);
    QByteArray text = index.mid(table.start, table.size());
    ScrambleRadicalTable(text.data(), text.size());
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);

    index_ = index;
    radicalTable_ = QString::fromLatin1(text);
    return true;
}

QString DataIndex::dataVersion() const {
    return QStringLiteral("%1").arg(version_, 4, 16, QLatin1Char('0')).toUpper();
}

std::vector<SyllableId> DataIndex::PinyinSyllables() const {
    return ReadSyllableList(index_, kPinyinSyllableSection);
}

std::vector<SyllableId> DataIndex::JyutpingSyllables() const {
    return ReadSyllableList(index_, kJyutpingSyllableSection);
}

std::vector<std::uint8_t> DataIndex::StrokeCounts() const {
    const SectionSpan span = IndexSectionSpan(index_, kStrokeCountListSection);
    std::vector<std::uint8_t> counts;
    counts.reserve(span.size());
    for (int pos = span.start; pos < span.end; ++pos)
        counts.push_back(DecodeStrokeCountByte(std::uint8_t(index_[pos])));
    return counts;
}

QString DataIndex::RadicalTableText() const {
    return radicalTable_;
}

bool DataIndex::HasPinyinSound(SyllableId id) const {
    return FindPinyinSoundChunk(id).has_value();
}

bool DataIndex::HasJyutpingSound(SyllableId id) const {
    return FindJyutpingSoundChunk(id).has_value();
}

std::optional<ChunkRef> DataIndex::FindPinyinSoundChunk(SyllableId id) const {
    return FindFixedEntry(index_, kPinyinSoundSection,
                          [id](const FixedIndexEntry& entry) { return entry.low == id; });
}

std::optional<ChunkRef> DataIndex::FindJyutpingSoundChunk(SyllableId id) const {
    return FindFixedEntry(index_, kJyutpingSoundSection,
                          [id](const FixedIndexEntry& entry) { return entry.low == id; });
}

std::optional<ChunkRef> DataIndex::FindStrokeOrderChunk(std::uint32_t codePoint) const {
    return FindFixedEntry(index_, kStrokeOrderSection, [codePoint](const FixedIndexEntry& entry) {
        return entry.low <= codePoint && codePoint <= entry.high;
    });
}

std::optional<ChunkRef> DataIndex::FindStrokeCountChunk(int count) const {
    return FindFixedEntry(index_, kStrokeCountSection, [count](const FixedIndexEntry& entry) {
        return entry.low <= count && count <= entry.high;
    });
}

std::optional<ChunkRef> DataIndex::FindPinyinChunk(SyllableId id) const {
    return FindSyllableChunk(index_, kPinyinChunkSection, id, Scheme::Pinyin);
}

std::optional<ChunkRef> DataIndex::FindJyutpingChunk(SyllableId id) const {
    return FindSyllableChunk(index_, kJyutpingChunkSection, id, Scheme::Jyutping);
}

std::optional<ChunkRef> DataIndex::FindRadicalChunk(const QByteArray& radicalKey) const {
    const SectionSpan span = IndexSectionSpan(index_, kRadicalChunkSection);
    const char* data = index_.constData();
    for (int pos = span.start; pos + 6 <= span.end;) {
        const std::optional<RadicalIndexEntry> entry = DecodeRadicalEntry(data + pos, span.end - pos);
        if (!entry)
            return std::nullopt;
        const int next = pos + entry->size;
        if (CompareRadicalKeyTexts(radicalKey, entry->lowText) >= 0 &&
            CompareRadicalKeyTexts(radicalKey, entry->highText) <= 0) {
            ChunkRef ref;
            ref.position = entry->position;
            ref.lowText = entry->lowText;
            ref.highText = entry->highText;
            if (next < span.end - 2) {
                if (const auto following = DecodeRadicalEntry(data + next, span.end - next))
                    ref.nextPosition = following->position;
            }
            return ref;
        }
        pos = next;
    }
    return std::nullopt;
}

} // namespace quillory
