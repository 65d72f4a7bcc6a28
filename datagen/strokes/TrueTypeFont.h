#pragma once
// Writes a TrueType font from glyphs of quadratic contours: one glyph per
// character, all of the same advance, unhinted but with a pre-program, so
// that FreeType neither auto-hints nor moves the points.
#include "datagen/strokes/GlyphTables.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillory::datagen {

// Font units: the source grid, so that the em box is the 1024 box.
inline constexpr int kFontUnitsPerEm = 1024;
inline constexpr int kFontAscent = 900;
inline constexpr int kFontDescent = -124;
inline constexpr int kFontAdvance = kFontUnitsPerEm;

struct FontNames {
    QString family;    // e.g. "Quillory Strokes"
    QString copyright; // the notice of the outlines' source
    QString version;   // "Version 1.000"
};

// Glyphs in ascending, unique code order. Empty with the reason on failure.
QByteArray BuildTrueTypeFont(const std::vector<FontGlyph>& glyphs, const FontNames& names, QString* error);

} // namespace quillory::datagen
