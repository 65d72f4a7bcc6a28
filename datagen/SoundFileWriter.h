#pragma once
// Writes the recorded syllables as the sound archive "sounds.dat".
#include "datagen/RecordedSyllable.h"

#include <QString>
#include <vector>

namespace quillory {

// Writes atomically: an existing file is replaced only when the whole archive
// was written. Refuses duplicate syllables and archives beyond 4 GB.
bool WriteSoundFile(const std::vector<RecordedSyllable>& syllables, const QString& path, QString* error);

} // namespace quillory
