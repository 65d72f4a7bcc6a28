#include "datagen/strokes/TrueTypeFont.h"

#include "datagen/strokes/FontBytes.h"

#include <algorithm>
#include <bit>
#include <map>

namespace quillory::datagen {

namespace {

// Seconds from 1904 to 2024-01-01, the fixed date of every build, so that
// the same sources give the same file.
constexpr std::int64_t kFontDate = 3786825600;
// Turns the rasteriser's dropout control on at every size (SCANCTRL 0x01FF,
// SCANTYPE 4). A font with a pre-program counts as hinted, so FreeType does
// not run its auto-hinter, which would move points differently between a
// rendered and an outline load.
const char kPreProgram[] = "\xB8\x01\xFF\x85\xB0\x04\x8D";
constexpr int kPreProgramSize = sizeof(kPreProgram) - 1;
constexpr int kPreProgramStack = 2;

QByteArray Head(const Box& box) {
    FontBytes t;
    t.U32(0x00010000);
    t.U32(0x00010000); // font revision 1.0
    t.U32(0);          // checksum adjustment, set when the file is complete
    t.U32(0x5F0F3CF5);
    t.U16(0x0009); // baseline at y = 0, integer scaling
    t.U16(kFontUnitsPerEm);
    t.I64(kFontDate);
    t.I64(kFontDate);
    t.I16(box.xMin);
    t.I16(box.yMin);
    t.I16(box.xMax);
    t.I16(box.yMax);
    t.U16(0); // mac style
    t.U16(8); // smallest readable size
    t.I16(2); // strong left to right
    t.I16(1); // long loca offsets
    t.I16(0);
    return t.bytes();
}

QByteArray Hhea(const GlyphTables& tables, int glyphCount) {
    int minLeft = 0, minRight = 0, maxExtent = 0;
    for (const Box& box : tables.boxes) {
        if (box.xMax == box.xMin && box.yMax == box.yMin)
            continue;
        minLeft = std::min(minLeft, box.xMin);
        minRight = std::min(minRight, kFontAdvance - box.xMax);
        maxExtent = std::max(maxExtent, box.xMax);
    }
    FontBytes t;
    t.U32(0x00010000);
    t.I16(kFontAscent);
    t.I16(kFontDescent);
    t.I16(0); // line gap
    t.U16(kFontAdvance);
    t.I16(minLeft);
    t.I16(minRight);
    t.I16(maxExtent);
    t.I16(1); // caret slope: vertical
    t.I16(0);
    t.I16(0);
    for (int i = 0; i < 5; ++i)
        t.I16(0); // reserved, metric data format
    t.U16(std::uint16_t(glyphCount));
    return t.bytes();
}

QByteArray Hmtx(const GlyphTables& tables) {
    FontBytes t;
    for (const Box& box : tables.boxes) {
        t.U16(kFontAdvance);
        t.I16(box.xMin);
    }
    return t.bytes();
}

QByteArray Maxp(const GlyphTables& tables, int glyphCount) {
    FontBytes t;
    t.U32(0x00010000);
    t.U16(std::uint16_t(glyphCount));
    t.U16(std::uint16_t(tables.maxPoints));
    t.U16(std::uint16_t(tables.maxContours));
    t.U16(0); // composite points
    t.U16(0); // composite contours
    t.U16(2); // zones
    t.U16(0); // twilight points
    t.U16(0); // storage
    t.U16(0); // function definitions
    t.U16(0); // instruction definitions
    t.U16(kPreProgramStack);
    t.U16(kPreProgramSize);
    t.U16(0); // component elements
    t.U16(0); // component depth
    return t.bytes();
}

QByteArray Name(const FontNames& names) {
    const QString postScript = QString(names.family).remove(u' ') + QStringLiteral("-Regular");
    const std::map<int, QString> strings = {{0, names.copyright},
                                            {1, names.family},
                                            {2, QStringLiteral("Regular")},
                                            {3, names.family + QStringLiteral(" Regular")},
                                            {4, names.family},
                                            {5, names.version},
                                            {6, postScript}};
    FontBytes records, text;
    for (const auto& [id, value] : strings) {
        const qsizetype offset = text.size();
        for (const QChar c : value)
            text.U16(c.unicode());
        records.U16(3); // Windows, Unicode BMP, US English
        records.U16(1);
        records.U16(0x0409);
        records.U16(std::uint16_t(id));
        records.U16(std::uint16_t(text.size() - offset));
        records.U16(std::uint16_t(offset));
    }
    FontBytes t;
    t.U16(0);
    t.U16(std::uint16_t(strings.size()));
    t.U16(std::uint16_t(6 + records.size()));
    t.Append(records.bytes());
    t.Append(text.bytes());
    return t.bytes();
}

QByteArray Post() {
    FontBytes t;
    t.U32(0x00030000); // no glyph names
    t.U32(0);          // italic angle
    t.I16(-100);       // underline position and thickness
    t.I16(50);
    for (int i = 0; i < 5; ++i)
        t.U32(0); // proportional; memory hints unknown
    return t.bytes();
}

QByteArray Os2(const std::vector<FontGlyph>& glyphs) {
    FontBytes t;
    t.U16(4);
    t.I16(kFontAdvance);
    t.U16(400); // regular weight
    t.U16(5);   // normal width
    t.U16(0);   // installable embedding
    for (const int v : {512, 512, 0, 140, 512, 512, 0, 480, 50, 300})
        t.I16(v); // sub- and superscript, strikeout
    t.I16(0);     // family class
    for (int i = 0; i < 10; ++i)
        t.U8(0); // panose: any
    t.U32(0);
    t.U32(1u << (59 - 32)); // Unicode range: CJK unified ideographs
    t.U32(0);
    t.U32(0);
    for (const char c : {'Q', 'L', 'R', 'Y'})
        t.U8(std::uint8_t(c));
    t.U16(0x0040); // regular
    t.U16(glyphs.empty() ? 0 : std::min<std::uint32_t>(glyphs.front().code, 0xFFFF));
    t.U16(glyphs.empty() ? 0 : std::min<std::uint32_t>(glyphs.back().code, 0xFFFF));
    t.I16(kFontAscent);
    t.I16(kFontDescent);
    t.I16(0);
    t.U16(kFontAscent);
    t.U16(-kFontDescent);
    t.U32(1u << 18); // code pages: simplified Chinese
    t.U32(0);
    t.I16(0); // x height, cap height
    t.I16(0);
    t.U16(0); // default character, break character
    t.U16(0x20);
    t.U16(1); // context
    return t.bytes();
}

// The table directory and the tables, then the head's checksum adjustment.
QByteArray Assemble(const std::map<QByteArray, QByteArray>& tables) {
    const int count = int(tables.size());
    const int searchRange = 16 * int(std::bit_floor(unsigned(count)));
    FontBytes out;
    out.U32(0x00010000);
    out.U16(std::uint16_t(count));
    out.U16(std::uint16_t(searchRange));
    out.U16(std::uint16_t(std::countr_zero(unsigned(searchRange / 16))));
    out.U16(std::uint16_t(16 * count - searchRange));
    std::uint32_t offset = 12 + 16 * count;
    qsizetype headOffset = 0;
    for (const auto& [tag, bytes] : tables) { // std::map: tags in ascending order
        out.Append(tag);
        out.U32(FontChecksum(bytes));
        out.U32(offset);
        out.U32(std::uint32_t(bytes.size()));
        if (tag == "head")
            headOffset = offset;
        offset += (bytes.size() + 3) & ~3;
    }
    for (const auto& [tag, bytes] : tables) {
        out.Append(bytes);
        out.PadTo4();
    }
    out.PutU32(headOffset + 8, 0xB1B0AFBA - FontChecksum(out.bytes()));
    return out.bytes();
}

} // namespace

QByteArray BuildTrueTypeFont(const std::vector<FontGlyph>& glyphs, const FontNames& names, QString* error) {
    for (std::size_t i = 1; i < glyphs.size(); ++i)
        if (glyphs[i].code <= glyphs[i - 1].code) {
            *error = QStringLiteral("the glyphs are not in ascending code order");
            return {};
        }
    const int glyphCount = int(glyphs.size()) + 1;
    if (glyphCount > 0xFFFF) {
        *error = QStringLiteral("%1 glyphs are too many for one font").arg(glyphCount);
        return {};
    }
    GlyphTables glyphTables;
    if (!BuildGlyphTables(glyphs, glyphTables, error))
        return {};
    const QByteArray cmap = BuildCmap(glyphs, error);
    if (cmap.isEmpty())
        return {};
    const std::map<QByteArray, QByteArray> tables = {
        {"OS/2", Os2(glyphs)},
        {"cmap", cmap},
        {"glyf", glyphTables.glyf},
        {"head", Head(glyphTables.fontBox)},
        {"hhea", Hhea(glyphTables, glyphCount)},
        {"hmtx", Hmtx(glyphTables)},
        {"loca", glyphTables.loca},
        {"maxp", Maxp(glyphTables, glyphCount)},
        {"name", Name(names)},
        {"post", Post()},
        {"prep", QByteArray(kPreProgram, kPreProgramSize)},
    };
    return Assemble(tables);
}

} // namespace quillory::datagen
