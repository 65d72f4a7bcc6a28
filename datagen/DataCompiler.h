#pragma once
// Builds the dictionary data folder from the sources: reads Unihan, the
// radical list, CC-CEDICT, to-jyutping, the word counts and rime-cantonese's
// tables, writes the list files, the
// syllable sounds, the index and the record store, and puts them into the
// data folder together.
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QTextStream>

namespace quillory::datagen {

struct CompilerInputs {
    QString unihanDir;        // Unihan_*.txt.bz2 or Unihan_*.txt
    QString radicalsFile;     // CJKRadicals.txt
    QString cedictFile;       // cedict_ts.u8.js or a plain CC-CEDICT file
    QString toJyutpingDir;    // the to-jyutping package folder
    QString wordCountsFile;   // jieba's dict.txt; empty: every word counts 0
    QString rimeDir;          // rime-cantonese's tables; empty: no Cantonese words, counts or order
    QString outDir;           // the data folder
    quint16 version = 1;      // data version stored in the index
    QString jyutpingScript;   // empty: the compiler's own to_jyutping.js
    bool recordSounds = true; // false: an empty sound archive, for quick builds
    QString strokeOrderDir;   // the hanzi-writer-data package folder; empty: no stroke data, for quick builds
};

// The files the compiler puts into the data folder.
QStringList CompiledDataFiles();
// The stroke font, the stroke-order store and their license, written when
// the stroke-order package is given.
QStringList StrokeDataFiles();

// Reads and merges all sources; progress gets one line per step.
bool ReadSources(const CompilerInputs& inputs, SourceData* source, QTextStream& progress, QString* error);

// Reads the sources and writes the data folder. On failure the data folder
// is left as it was.
bool CompileData(const CompilerInputs& inputs, QTextStream& progress, QString* error);

} // namespace quillory::datagen
