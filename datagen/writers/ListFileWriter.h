#pragma once
// Writes the four list files (characters by stroke count, Pinyin, Jyutping
// and radical) and fills the index sections that locate their chunks, the
// syllable and stroke-count lists and the radical table.
#include "datagen/writers/IndexContent.h"
#include "datagen/sources/SourceData.h"

#include <QString>

namespace quillory::datagen {

struct ListFilesStats {
    int characters = 0;        // characters that appear in at least one list
    int pinyinSyllables = 0;   // toned syllables with characters
    int jyutpingSyllables = 0;
    int strokeCounts = 0;
    int radicalKeys = 0;       // radical + residual groups
    int radicals = 0;          // lines of the radical table
    int chunks = 0;            // over all four files
    int skippedReadings = 0;   // readings that are no encodable syllable
    qint64 strokeFileSize = 0, pinyinFileSize = 0, jyutpingFileSize = 0, radicalFileSize = 0;
};

bool WriteListFiles(const SourceData& source, const QString& outDir, IndexContent& index,
                    QString* error, ListFilesStats* stats = nullptr);

} // namespace quillory::datagen
