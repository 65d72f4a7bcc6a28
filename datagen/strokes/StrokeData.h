#pragma once
// The stroke data of the data folder: the stroke font (one glyph per
// character, one contour per stroke in writing order), the stroke-order
// store, its index entries, and the source's license beside the font.
#include "datagen/sources/SourceData.h"
#include "datagen/writers/IndexContent.h"

#include <QString>
#include <QStringList>

namespace quillory::datagen {

inline constexpr char kStrokeFontFamily[] = "Quillory Strokes";

struct StrokeDataStats {
    int characters = 0; // in the font and the store
    int strokes = 0;
    int chunks = 0;
    int comparedWithUnihan = 0; // characters of the dictionary with a kTotalStrokes value
    int agreeingWithUnihan = 0; // of those, with as many strokes as that value
    qint64 fontSize = 0;
    qint64 storeSize = 0;
    QStringList warnings; // characters left out and why
};

// Reads the package folder and writes the three files into outDir; fills
// index.strokeOrder.
bool WriteStrokeData(const QString& packageDir, const SourceData& source, const QString& outDir,
                     IndexContent& index, QString* error, StrokeDataStats* stats);

// The license text shipped with the source, for the notices file; empty when unreadable.
QString StrokeLicenseText(const QString& packageDir);

} // namespace quillory::datagen
