#pragma once
// Writes the recorded syllables as the sound archive "sounds.dat".
#include "datagen/sounds/RecordedSyllable.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace quillory {

// Where one recording lies in the written archive.
struct StoredSound {
    Scheme scheme = Scheme::Pinyin;
    SyllableId id = 0;
    std::uint32_t offset = 0; // of its first sample byte from the file start
};

// Writes atomically: an existing file is replaced only when the whole archive
// was written. Refuses duplicate syllables and archives beyond 4 GB. stored,
// when given, receives every recording's place in archive order.
bool WriteSoundFile(const std::vector<RecordedSyllable>& syllables, const QString& path, QString* error,
                    std::vector<StoredSound>* stored = nullptr);

} // namespace quillory
