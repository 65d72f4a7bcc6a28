#pragma once
// The glyph outlines (glyf with long loca offsets) and the character map
// (cmap formats 4 and 12) of a font whose glyph i + 1 draws character i of
// an ascending list; glyph 0 is the empty missing-character glyph.
#include "datagen/strokes/StrokeOutline.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace quillory::datagen {

struct FontGlyph {
    std::uint32_t code = 0;
    std::vector<Contour> contours; // in writing order
};

struct Box {
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

struct GlyphTables {
    QByteArray glyf;
    QByteArray loca;
    std::vector<Box> boxes; // per glyph, glyph 0 included (empty: all 0)
    Box fontBox;            // over every glyph with points
    int maxPoints = 0;
    int maxContours = 0;
};

// False with the reason when a glyph has too many points or contours.
bool BuildGlyphTables(const std::vector<FontGlyph>& glyphs, GlyphTables& tables, QString* error);

// Codes ascending and unique; empty with the reason when the BMP part does
// not fit format 4's 64 KB.
QByteArray BuildCmap(const std::vector<FontGlyph>& glyphs, QString* error);

} // namespace quillory::datagen
