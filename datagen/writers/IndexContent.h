#pragma once
// What the index writer puts into oxa.dat: every section as plain entries.
// The list-file writer fills the chunk sections with the positions of the
// chunks it wrote; sound and stroke-order sections are filled by their own
// stores' writers.
#include "dictionary/text/Romanisation.h"

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

namespace quillory::datagen {

struct SoundEntry {
    SyllableId key = 0;
    std::uint32_t position = 0;
};

struct RangeEntry {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    std::uint32_t position = 0;
};

struct StrokeCountEntry {
    std::uint8_t lowest = 0;
    std::uint8_t highest = 0;
    std::uint16_t position = 0;
};

struct RadicalEntry {
    QByteArray lowKey;  // RadicalKey texts, e.g. "1.0", "9'.3"
    QByteArray highKey;
    std::uint32_t position = 0;
};

struct IndexContent {
    std::uint16_t version = 0;
    std::vector<SoundEntry> jyutpingSounds;   // section 0
    std::vector<SoundEntry> pinyinSounds;     // section 1
    std::vector<RangeEntry> strokeOrder;      // section 3
    std::vector<StrokeCountEntry> strokeCountChunks; // section 4
    std::vector<RangeEntry> pinyinChunks;     // section 5
    std::vector<RangeEntry> jyutpingChunks;   // section 6
    std::vector<RadicalEntry> radicalChunks;  // section 8
    std::vector<SyllableId> pinyinSyllables;  // section 9
    std::vector<SyllableId> jyutpingSyllables; // section 10
    std::vector<std::uint8_t> strokeCounts;   // section 11
    QByteArray radicalTable;                  // section 12, ASCII lines "2.0\t4E28 2F01 1 3 ...\n"
};

} // namespace quillory::datagen
