#pragma once
// One syllable's recording as the sound archive stores it.
#include "dictionary/text/Romanisation.h"

#include <cstdint>
#include <vector>

namespace quillory {

struct RecordedSyllable {
    Scheme scheme = Scheme::Pinyin;
    SyllableId id = 0;
    std::vector<std::int16_t> samples; // 16 kHz mono PCM
};

} // namespace quillory
