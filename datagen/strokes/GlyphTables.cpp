#include "datagen/strokes/GlyphTables.h"

#include "datagen/strokes/FontBytes.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace quillory::datagen {

namespace {

// Simple-glyph point flags.
enum : std::uint8_t {
    kOnCurve = 0x01,
    kXShort = 0x02,
    kYShort = 0x04,
    kRepeat = 0x08,
    kXSameOrPositive = 0x10,
    kYSameOrPositive = 0x20,
};

// Flag bits and coordinate bytes of one delta on one axis.
void EncodeDelta(int delta, std::uint8_t shortBit, std::uint8_t sameBit, std::uint8_t& flag, FontBytes& out) {
    if (delta == 0) {
        flag |= sameBit;
    } else if (delta >= -255 && delta <= 255) {
        flag |= shortBit;
        if (delta > 0)
            flag |= sameBit;
        out.U8(std::uint8_t(delta > 0 ? delta : -delta));
    } else {
        out.I16(delta);
    }
}

Box BoxOf(const FontGlyph& glyph) {
    Box box{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
            std::numeric_limits<int>::min()};
    for (const Contour& contour : glyph.contours)
        for (const ContourPoint& p : contour) {
            box.xMin = std::min<int>(box.xMin, p.x);
            box.yMin = std::min<int>(box.yMin, p.y);
            box.xMax = std::max<int>(box.xMax, p.x);
            box.yMax = std::max<int>(box.yMax, p.y);
        }
    return box;
}

QByteArray SimpleGlyph(const FontGlyph& glyph, const Box& box) {
    FontBytes out;
    out.I16(int(glyph.contours.size()));
    out.I16(box.xMin);
    out.I16(box.yMin);
    out.I16(box.xMax);
    out.I16(box.yMax);
    int last = -1;
    for (const Contour& contour : glyph.contours) {
        last += int(contour.size());
        out.U16(std::uint16_t(last));
    }
    out.U16(0); // no instructions

    std::vector<std::uint8_t> flags;
    FontBytes xs, ys;
    int x = 0, y = 0;
    for (const Contour& contour : glyph.contours)
        for (const ContourPoint& p : contour) {
            std::uint8_t flag = p.onCurve ? kOnCurve : 0;
            EncodeDelta(p.x - x, kXShort, kXSameOrPositive, flag, xs);
            EncodeDelta(p.y - y, kYShort, kYSameOrPositive, flag, ys);
            flags.push_back(flag);
            x = p.x;
            y = p.y;
        }
    for (std::size_t i = 0; i < flags.size();) {
        std::size_t run = 1;
        while (i + run < flags.size() && flags[i + run] == flags[i] && run < 256)
            ++run;
        if (run > 1) {
            out.U8(flags[i] | kRepeat);
            out.U8(std::uint8_t(run - 1));
        } else {
            out.U8(flags[i]);
        }
        i += run;
    }
    out.Append(xs.bytes());
    out.Append(ys.bytes());
    out.PadTo4();
    return out.bytes();
}

struct CodeRun {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint32_t firstGlyph = 0;
};

// Runs of consecutive codes; their glyphs are consecutive too.
std::vector<CodeRun> CodeRuns(const std::vector<FontGlyph>& glyphs, std::uint32_t below) {
    std::vector<CodeRun> runs;
    for (std::size_t i = 0; i < glyphs.size() && glyphs[i].code < below; ++i) {
        const std::uint32_t code = glyphs[i].code;
        if (!runs.empty() && runs.back().last + 1 == code)
            runs.back().last = code;
        else
            runs.push_back({code, code, std::uint32_t(i + 1)});
    }
    return runs;
}

QByteArray Format4(const std::vector<FontGlyph>& glyphs, QString* error) {
    std::vector<CodeRun> runs = CodeRuns(glyphs, 0xFFFF);
    runs.push_back({0xFFFF, 0xFFFF, 0}); // the closing segment maps to glyph 0
    const int segments = int(runs.size());
    const int length = 16 + 8 * segments;
    if (length > 0xFFFF) {
        *error = QStringLiteral("%1 code ranges do not fit a format 4 character map").arg(segments);
        return {};
    }
    const int searchRange = 2 * int(std::bit_floor(unsigned(segments)));
    FontBytes out;
    out.U16(4);
    out.U16(std::uint16_t(length));
    out.U16(0); // language
    out.U16(std::uint16_t(2 * segments));
    out.U16(std::uint16_t(searchRange));
    out.U16(std::uint16_t(std::countr_zero(unsigned(searchRange / 2))));
    out.U16(std::uint16_t(2 * segments - searchRange));
    for (const CodeRun& run : runs)
        out.U16(run.last);
    out.U16(0); // reserved pad
    for (const CodeRun& run : runs)
        out.U16(run.first);
    for (const CodeRun& run : runs)
        out.U16(std::uint16_t(run.firstGlyph - run.first)); // idDelta, modulo 65536
    for (std::size_t i = 0; i < runs.size(); ++i)
        out.U16(0); // idRangeOffset
    return out.bytes();
}

QByteArray Format12(const std::vector<FontGlyph>& glyphs) {
    const std::vector<CodeRun> runs = CodeRuns(glyphs, std::numeric_limits<std::uint32_t>::max());
    FontBytes out;
    out.U16(12);
    out.U16(0);
    out.U32(std::uint32_t(16 + 12 * runs.size()));
    out.U32(0); // language
    out.U32(std::uint32_t(runs.size()));
    for (const CodeRun& run : runs) {
        out.U32(run.first);
        out.U32(run.last);
        out.U32(run.firstGlyph);
    }
    return out.bytes();
}

} // namespace

bool BuildGlyphTables(const std::vector<FontGlyph>& glyphs, GlyphTables& tables, QString* error) {
    FontBytes glyf, loca;
    tables.boxes.assign(1, Box{});
    loca.U32(0);
    loca.U32(0); // glyph 0 has no outline
    bool anyPoints = false;
    for (const FontGlyph& glyph : glyphs) {
        int points = 0;
        for (const Contour& contour : glyph.contours)
            points += int(contour.size());
        if (points > 0xFFFF || glyph.contours.size() > 0x7FFF) {
            *error = QStringLiteral("U+%1 has too many points").arg(glyph.code, 4, 16, QLatin1Char('0'));
            return false;
        }
        const Box box = points > 0 ? BoxOf(glyph) : Box{};
        tables.boxes.push_back(box);
        if (points > 0) {
            glyf.Append(SimpleGlyph(glyph, box));
            Box& all = tables.fontBox;
            all = anyPoints ? Box{std::min(all.xMin, box.xMin), std::min(all.yMin, box.yMin),
                                  std::max(all.xMax, box.xMax), std::max(all.yMax, box.yMax)}
                            : box;
            anyPoints = true;
        }
        loca.U32(std::uint32_t(glyf.size()));
        tables.maxPoints = std::max(tables.maxPoints, points);
        tables.maxContours = std::max(tables.maxContours, int(glyph.contours.size()));
    }
    tables.glyf = glyf.bytes();
    tables.loca = loca.bytes();
    return true;
}

QByteArray BuildCmap(const std::vector<FontGlyph>& glyphs, QString* error) {
    const QByteArray format4 = Format4(glyphs, error);
    if (format4.isEmpty())
        return {};
    const QByteArray format12 = Format12(glyphs);
    FontBytes out;
    out.U16(0); // version
    out.U16(2);
    const std::uint32_t first = 4 + 2 * 8;
    out.U16(3); // Windows, Unicode BMP
    out.U16(1);
    out.U32(first);
    out.U16(3); // Windows, Unicode full repertoire
    out.U16(10);
    out.U32(first + std::uint32_t(format4.size()));
    out.Append(format4);
    out.Append(format12);
    return out.bytes();
}

} // namespace quillory::datagen
