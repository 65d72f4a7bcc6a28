#pragma once
// The layout of the four list files (ghi.dat, ijk.dat, jkl.dat, hij.dat),
// shared by their writer and their reader: the chunk keys that scramble each
// chunk, and the masked records inside an inflated chunk.
#include "dictionary/lists/CharacterList.h"
#include "dictionary/files/DataFiles.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quillory {

// A look-up reads at most this many bytes, a random lead-in of up to
// kMaxLeadIn - 1 bytes before the chunk included; a chunk of at most
// kMaxChunkBytes compressed bytes therefore always lies whole in the buffer.
constexpr int kChunkReadLimit = 102400;
constexpr int kMaxLeadIn = 10240;
constexpr int kMaxChunkBytes = kChunkReadLimit - kMaxLeadIn + 1; // 92161
// Capacity that an inflated chunk must fit.
constexpr int kInflatedChunkCapacity = 204800;

// The most bytes one record may take: 8192, or 40960 in the stroke-count file.
int RecordWindow(ListFile file);
// The most values one record can hold in that window.
int MaxRecordValues(ListFile file);

// Size of a record with count values.
constexpr std::size_t RecordSize(std::uint32_t count) {
    return 8 + 4 * static_cast<std::size_t>(count);
}

// The 16 bytes that scramble one chunk, derived from its index entry's bounds:
// Pinyin and Jyutping: the toned syllable texts; stroke count: the lowest and
// highest counts; radical: the two RadicalKey texts.
using ChunkKey = QByteArray;
ChunkKey SyllableChunkKey(ListFile file, const QByteArray& lowText, const QByteArray& highText);
ChunkKey StrokeCountChunkKey(int lowest, int highest);
ChunkKey RadicalChunkKey(const QByteArray& lowKey, const QByteArray& highKey);

// XORs the bytes with the key in a 16-byte cycle whose start the key picks;
// scrambling and unscrambling are the same operation.
void ScrambleChunk(char* data, std::size_t size, const ChunkKey& key);
int ChunkKeyStart(const ChunkKey& key);

// Record key of a radical group: radical number in bits 8-15, the variant flag
// in bit 16, the residual stroke count in bits 0-7.
constexpr std::uint32_t RadicalRecordKey(int radical, bool variant, int residual) {
    return (static_cast<std::uint32_t>(radical & 0xFF) << 8) | (variant ? 0x10000u : 0u) |
           static_cast<std::uint32_t>(residual & 0xFF);
}
// The RadicalKey text of a radical record key ("2.3", "168'.1").
QByteArray RadicalKeyText(std::uint32_t recordKey);

// Appends one masked record to out.
void AppendRecord(ListFile file, std::uint32_t key, const CharacterList& values, QByteArray& out);

// The head of the record at the start of a window: its key and count.
struct RecordHead {
    std::uint32_t key = 0;
    std::uint32_t count = 0;
};
// Reads the head of the record that starts the window; nullopt when the
// window is too short for the head or for the whole record.
std::optional<RecordHead> ReadRecordHead(const unsigned char* window, std::size_t size);
// Unmasks the values of a record whose head ReadRecordHead accepted.
CharacterList ReadRecordValues(ListFile file, const unsigned char* window, const RecordHead& head);

} // namespace quillory
