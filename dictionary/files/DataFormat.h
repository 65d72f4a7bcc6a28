#pragma once
// Layout, masks and keys of the dictionary index file (oxa.dat), shared by
// the reader (DataIndex) and the data compiler's writer, so that both sides
// encode every field the same way.
#include "dictionary/text/Romanisation.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace quillory {

// File window: the reader refuses shorter files and never reads more.
constexpr int kIndexMinFileSize = 30721;
constexpr int kIndexMaxSize = 51200;      // bytes read from the file and inflated bytes
constexpr int kIndexInflateSlack = 10240; // inflate capacity = payload size + this (at most kIndexMaxSize)
constexpr int kIndexVersionSize = 2;

// Inflated index header: L (2), check bytes A and B, base offset b, then the
// 13 section descriptors (first, end; 16-bit each).
constexpr int kIndexLengthOffset = 0;
constexpr int kIndexCheckAOffset = 2;
constexpr int kIndexCheckBOffset = 3;
constexpr int kIndexBaseOffset = 4;
constexpr int kIndexDescriptorsOffset = 5;
constexpr int kIndexSectionCount = 13;
constexpr int kIndexDescriptorSize = 4;
constexpr int kIndexHeaderSize = kIndexDescriptorsOffset + kIndexSectionCount * kIndexDescriptorSize; // 57
// Base offset the writer stores; the reader takes b from the file.
constexpr std::uint8_t kIndexWrittenBase = 0x1D;

enum IndexSection : int {
    kJyutpingSoundSection = 0,
    kPinyinSoundSection = 1,
    kUnusedSection2 = 2,
    kStrokeOrderSection = 3,
    kStrokeCountSection = 4,
    kPinyinChunkSection = 5,
    kJyutpingChunkSection = 6,
    kUnusedSection7 = 7,
    kRadicalChunkSection = 8,
    kPinyinSyllableSection = 9,
    kJyutpingSyllableSection = 10,
    kStrokeCountListSection = 11,
    kRadicalTableSection = 12,
};

// The 16-byte file key and the byte-wise scrambling of the payload with it
// (the same call scrambles and unscrambles).
QByteArray IndexFileKey();
void ScrambleIndexPayload(char* data, qsizetype size);

// Section descriptors: each 16-bit value is stored XOR this mask.
std::uint16_t EncodeDescriptorValue(std::uint16_t value);
inline std::uint16_t DecodeDescriptorValue(std::uint16_t stored) {
    return EncodeDescriptorValue(stored);
}

// Byte range of section k inside an inflated index; empty (start == end)
// when the descriptor is empty, reversed or points outside the index.
struct SectionSpan {
    int start = 0;
    int end = 0;
    int size() const { return end - start; }
};
SectionSpan IndexSectionSpan(const QByteArray& index, int section);

// Values the check bytes A and B must hold for the index as it stands
// (bytes 2-4 take no part).
struct IndexCheckBytes {
    std::uint8_t a = 0;
    std::uint8_t b = 0;
};
IndexCheckBytes ComputeIndexCheckBytes(const QByteArray& index);

// Fixed-size entries of sections 0, 1, 3, 4, 5 and 6. low and high are the
// two key fields of the pair sections (3, 5, 6), the lowest and highest count
// of section 4, and both the key for the sound sections (0, 1). The position
// of section 4 is 16-bit.
struct FixedIndexEntry {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    std::uint32_t position = 0;
};
bool IsFixedEntrySection(int section);
int FixedEntrySize(int section);
// out / in must hold FixedEntrySize(section) bytes.
void EncodeFixedEntry(int section, const FixedIndexEntry& entry, char* out);
FixedIndexEntry DecodeFixedEntry(int section, const char* in);

// Radical chunk entry (section 8): masked head size and low-text length, the
// two bound texts under the radical-entry key, and the masked position.
struct RadicalIndexEntry {
    QByteArray lowText;
    QByteArray highText;
    std::uint32_t position = 0;
    int size = 0; // bytes the entry takes (head + 4); set by the decoder
};
constexpr int kRadicalEntryMaxTexts = 255 - 2; // both texts together
// Empty when the texts are too long for the one-byte head size.
QByteArray EncodeRadicalEntry(const QByteArray& lowText, const QByteArray& highText, std::uint32_t position);
// nullopt when the head size is 0, malformed or the entry does not lie
// wholly within the available bytes.
std::optional<RadicalIndexEntry> DecodeRadicalEntry(const char* data, qsizetype available);

// Syllable lists (sections 9, 10): two bytes per id, each under its own mask.
void EncodeSyllableListEntry(int section, SyllableId id, char* out);
SyllableId DecodeSyllableListEntry(int section, const char* in);

// Stroke-count list (section 11): one masked byte per count.
std::uint8_t EncodeStrokeCountByte(std::uint8_t count);
inline std::uint8_t DecodeStrokeCountByte(std::uint8_t stored) {
    return EncodeStrokeCountByte(stored);
}

// Radical table (section 12): byte j XOR key character j mod 65. In a
// radical's line, tokens up to this value are residual stroke counts and
// larger ones are code points of its forms.
constexpr std::uint32_t kRadicalFormLimit = 0x42;
void ScrambleRadicalTable(char* data, qsizetype size);

// Order of RadicalKey texts: radical number, the plain radical before its
// variant ('), then residual strokes. Returns -1, 0 or 1.
int CompareRadicalKeyTexts(const QByteArray& a, const QByteArray& b);

} // namespace quillory
