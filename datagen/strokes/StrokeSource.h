#pragma once
// Reads the stroke-order source: one JSON file per character, named after
// it, with "strokes" (one closed SVG path per stroke, in writing order, on
// the 1024 grid with y up) and "medians" (each stroke's centre line).
#include "datagen/strokes/StrokeOutline.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace quillory::datagen {

struct StrokeCharacter {
    std::uint32_t code = 0;
    std::vector<Contour> contours;        // one per stroke, in writing order
    std::vector<std::uint8_t> directions; // sweep direction code per stroke
};

// The sweep direction of a stroke from its median: from the first point to
// the last, along the axis on which they lie further apart (ties go across).
std::uint8_t DirectionOfMedian(const QJsonArray& median);

// One character's file; false with the reason when it cannot be used.
bool ReadStrokeFile(const QString& path, StrokeCharacter& character, QString* error);

// Every character file of the folder in code order. Files that cannot be
// used are left out with one warning each; false only when the folder
// cannot be read or holds no character.
bool ReadStrokeFolder(const QString& folder, std::vector<StrokeCharacter>& characters, QStringList* warnings,
                      QString* error);

} // namespace quillory::datagen
