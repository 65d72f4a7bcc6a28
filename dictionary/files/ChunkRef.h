#pragma once
#include <QByteArray>
#include <cstdint>

namespace quillory {

// Result of an index look-up: where an entry's chunk lies in its data file,
// where the next entry's chunk starts (0 when the entry is the last of its
// section) and the entry's bounds.
struct ChunkRef {
    std::uint32_t position = 0;
    std::uint32_t nextPosition = 0;
    // Sections with 16-bit bounds: low and high SyllableId or code; the
    // stroke-count index: lowest and highest count; sound indexes: the key.
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    // Radical chunk index: the two bound RadicalKey texts.
    QByteArray lowText;
    QByteArray highText;
};

} // namespace quillory
