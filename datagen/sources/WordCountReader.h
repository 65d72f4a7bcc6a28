#pragma once
// Reads the word counts of jieba's dictionary ("word count part-of-speech"
// lines, simplified Chinese) into source.wordCounts.
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QStringView>

namespace quillory::datagen {

// Adds one "word count [tag]" line; a word listed twice keeps the larger
// count. False for a blank or malformed line.
bool AddWordCountLine(QStringView line, SourceData& source);

struct WordCountStats {
    int words = 0;
    int skippedLines = 0;
};

bool ReadWordCounts(const QString& path, SourceData& source, QString* error, WordCountStats* stats = nullptr);

} // namespace quillory::datagen
