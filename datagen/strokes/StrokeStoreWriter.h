#pragma once
// Builds the stroke-order store: each character's record of (contour index,
// flags) in chunks of consecutive characters, and the index entries that
// locate the chunks by code range.
#include "datagen/strokes/StrokeSource.h"
#include "datagen/writers/IndexContent.h"

#include <QByteArray>
#include <vector>

namespace quillory::datagen {

// Characters in ascending code order; those above U+FFFF, which the index
// cannot name, are left out. Appends one index entry per chunk.
QByteArray BuildStrokeOrderStore(const std::vector<StrokeCharacter>& characters,
                                 std::vector<RangeEntry>& index);

} // namespace quillory::datagen
