#pragma once
// The sound step of the data build: records every toned syllable that the
// characters and words read, writes the sound archive and fills the index's
// sound sections with one entry per recording.
#include "datagen/writers/IndexContent.h"
#include "datagen/sounds/SoundRecorder.h"
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace quillory::datagen {

struct SoundBuildStats {
    int pinyinRecorded = 0;
    int jyutpingRecorded = 0;
    int leftOut = 0;      // syllabic nasals, which get no sound
    QStringList failures; // syllables the synthesiser could not voice
    qint64 fileSize = 0;
};

// Every syllable that a character or word reading of the sources names and
// the scheme can encode: Pinyin first, then Jyutping, each by id.
std::vector<SyllableToRecord> SyllablesToRecord(const SourceData& source);

// Records the syllables and writes the archive to path (an empty archive
// when record is false). Fails when the archive cannot be written or when
// not one syllable could be recorded, which means the synthesiser is missing.
bool WriteSyllableSounds(const SourceData& source, bool record, const QString& path, IndexContent& index,
                         QString* error, SoundBuildStats* stats = nullptr);

} // namespace quillory::datagen
