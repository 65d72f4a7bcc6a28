#!/usr/bin/python3
"""Builds the Pinyin display font "Oxapinyin basic" from a free Latin TrueType font.

The pages and controls write tone-marked Pinyin in a one-byte form: U+00BF is
u with diaeresis and U+00C0..U+00DF are a e i o u u-diaeresis m n, each with
the marks of tones 1 to 4. This script re-encodes those code points to the
base font's glyphs of the marked letters, builds composite glyphs where the
base font has no precomposed letter (m and n with some marks), keeps the rest
of the base font's Latin repertoire, and renames the font.

Usage: make_pinyin_font.py [--base FONT.ttf] OUTPUT.ttf

The output depends only on the base font: the same base gives the same bytes.
Exits with status 1 and a message on standard error when anything fails; the
output file is then left as it was.
"""

import argparse
import os
import sys
import tempfile

DEFAULT_BASE = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"

FAMILY = "Oxapinyin basic"
POSTSCRIPT_NAME = "Oxapinyin-basic"
STYLE = "Regular"

# Code point of u with diaeresis in the one-byte form (tone 5 of v).
PLAIN_UMLAUT_CODE = 0xBF
FIRST_MARKED_CODE = 0xC0

# Letters in the order of the one-byte form, with the code point of the plain
# letter used as the base of a composite (dotless i, so that a mark replaces
# the dot).
LETTERS = [
    ("a", 0x0061),
    ("e", 0x0065),
    ("i", 0x0131),
    ("o", 0x006F),
    ("u", 0x0075),
    ("v", 0x00FC),
    ("m", 0x006D),
    ("n", 0x006E),
]

# Combining marks of tones 1 to 4: macron, acute, caron, grave.
TONE_MARKS = [0x0304, 0x0301, 0x030C, 0x0300]

# Precomposed letters for tones 1 to 4; None where Unicode has none.
PRECOMPOSED = {
    "a": [0x0101, 0x00E1, 0x01CE, 0x00E0],
    "e": [0x0113, 0x00E9, 0x011B, 0x00E8],
    "i": [0x012B, 0x00ED, 0x01D0, 0x00EC],
    "o": [0x014D, 0x00F3, 0x01D2, 0x00F2],
    "u": [0x016B, 0x00FA, 0x01D4, 0x00F9],
    "v": [0x01D6, 0x01D8, 0x01DA, 0x01DC],
    "m": [None, 0x1E3F, None, None],
    "n": [None, 0x0144, 0x0148, 0x01F9],
}

# Unicode blocks kept from the base font: Latin text, its marks, punctuation
# and the common symbols that appear beside Pinyin and Jyutping.
KEPT_RANGES = [
    (0x0020, 0x007E),  # Basic Latin
    (0x00A0, 0x024F),  # Latin-1 Supplement, Latin Extended-A and -B
    (0x0250, 0x02FF),  # IPA extensions, spacing modifier letters
    (0x0300, 0x036F),  # combining diacritical marks
    (0x1E00, 0x1EFF),  # Latin Extended Additional
    (0x2000, 0x206F),  # general punctuation
    (0x20A0, 0x20CF),  # currency symbols
    (0x2100, 0x214F),  # letterlike symbols
    (0x2C60, 0x2C7F),  # Latin Extended-C
    (0xA720, 0xA7FF),  # Latin Extended-D
    (0xFB00, 0xFB06),  # Latin ligatures
    (0xFFFD, 0xFFFD),  # replacement character
]

# Space between the top of a letter and a mark set over it, in em units.
MARK_GAP_EM = 0.03


class FontError(Exception):
    """A failure with a message for the user."""


def load_font_tools():
    try:
        from fontTools import subset  # noqa: F401
        from fontTools.ttLib import TTFont  # noqa: F401
    except ImportError as exc:
        raise FontError(
            "fontTools is not available to %s (Debian package python3-fonttools): %s" % (sys.executable, exc)
        )


def open_base_font(path):
    from fontTools.ttLib import TTFont, TTLibError

    if not os.path.isfile(path):
        raise FontError("the base font was not found: %s" % path)
    try:
        font = TTFont(path, recalcTimestamp=False)
        # Read the tables now, so that a damaged file fails here.
        for tag in ("head", "cmap", "hmtx", "maxp", "name", "post"):
            font[tag]
    except (TTLibError, OSError, KeyError, AssertionError, ValueError, IndexError) as exc:
        raise FontError("the base font cannot be read: %s: %s" % (path, exc))
    if "glyf" not in font:
        raise FontError("the base font has no TrueType outlines (glyf table): %s" % path)
    return font


def glyph_bounds(font, glyph_name):
    from fontTools.pens.boundsPen import ControlBoundsPen

    pen = ControlBoundsPen(font.getGlyphSet())
    font.getGlyphSet()[glyph_name].draw(pen)
    return pen.bounds


def unique_glyph_name(font, wanted):
    existing = set(font.getGlyphOrder())
    name = wanted
    number = 1
    while name in existing:
        name = "%s.%d" % (wanted, number)
        number += 1
    return name


def add_composite(font, cmap, letter, base_code, mark_code):
    """Adds a glyph of the base letter with the mark centred above it.

    The mark is centred horizontally over the letter's outline. Combining marks
    are drawn at the height of lowercase letters; the mark keeps that height
    unless the letter reaches into it, then it is raised to clear the letter.
    """
    from fontTools.pens.ttGlyphPen import TTGlyphPen

    base = cmap.get(base_code)
    if base is None and base_code == 0x0131:
        base = cmap.get(0x0069)
    mark = cmap.get(mark_code)
    if base is None or mark is None:
        raise FontError(
            "the base font lacks U+%04X or the combining mark U+%04X needed for %s" % (base_code, mark_code, letter)
        )
    base_box = glyph_bounds(font, base)
    mark_box = glyph_bounds(font, mark)
    if base_box is None or mark_box is None:
        raise FontError("the glyph %s or %s has no outline" % (base, mark))

    gap = MARK_GAP_EM * font["head"].unitsPerEm
    dx = round((base_box[0] + base_box[2]) / 2 - (mark_box[0] + mark_box[2]) / 2)
    dy = max(0, round(base_box[3] + gap - mark_box[1]))

    pen = TTGlyphPen(font.getGlyphSet())
    pen.addComponent(base, (1, 0, 0, 1, 0, 0))
    pen.addComponent(mark, (1, 0, 0, 1, dx, dy))
    glyph = pen.glyph()

    name = unique_glyph_name(font, "%s_uni%04X" % (base, mark_code))
    font.setGlyphOrder(font.getGlyphOrder() + [name])
    font["glyf"][name] = glyph
    glyph.recalcBounds(font["glyf"])
    advance = font["hmtx"][base][0]
    font["hmtx"][name] = (advance, glyph.xMin)
    return name, (dx, dy)


def target_glyphs(font):
    """The glyph for each code point U+00BF..U+00DF, and notes on built composites."""
    cmap = font.getBestCmap()
    if not cmap:
        raise FontError("the base font has no Unicode character map")
    umlaut = cmap.get(0x00FC)
    if umlaut is None:
        raise FontError("the base font has no glyph for U+00FC")

    targets = {PLAIN_UMLAUT_CODE: umlaut}
    composites = []
    code = FIRST_MARKED_CODE
    for letter, base_code in LETTERS:
        for tone, mark_code in enumerate(TONE_MARKS, start=1):
            precomposed = PRECOMPOSED[letter][tone - 1]
            glyph = cmap.get(precomposed) if precomposed is not None else None
            if glyph is None:
                glyph, offset = add_composite(font, cmap, "%s%d" % (letter, tone), base_code, mark_code)
                composites.append((letter, tone, glyph, offset))
            targets[code] = glyph
            code += 1
    return targets, composites


def remap_cmap(font, targets):
    """Points the Unicode subtables at the marked letters.

    The one-byte Macintosh subtable is dropped: its codes are not Unicode and
    would map the same bytes to other letters.
    """
    from fontTools.ttLib.tables._c_m_a_p import CmapSubtable

    cmap_table = font["cmap"]
    unicode_tables = [t for t in cmap_table.tables if t.isUnicode()]
    if not unicode_tables:
        raise FontError("the base font has no Unicode character map")
    for table in unicode_tables:
        table.cmap.update(targets)
    cmap_table.tables = unicode_tables
    # A Windows BMP subtable is what most renderers look for first.
    if not any(t.platformID == 3 and t.platEncID == 1 for t in unicode_tables):
        table = CmapSubtable.newSubtable(4)
        table.platformID, table.platEncID, table.language = 3, 1, 0
        table.cmap = {c: g for c, g in font.getBestCmap().items() if c <= 0xFFFF}
        table.cmap.update(targets)
        cmap_table.tables.append(table)


def keep_latin(font, targets):
    from fontTools import subset

    cmap = font.getBestCmap()
    unicodes = [c for c in cmap if any(lo <= c <= hi for lo, hi in KEPT_RANGES)]
    missing = [c for c in targets if c not in unicodes]
    if missing:
        raise FontError("internal error: the marked letters were dropped: %s" % missing)

    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_glyph = True
    options.notdef_outline = True
    options.glyph_names = True
    options.hinting = True
    options.legacy_kern = True
    options.recalc_timestamp = False
    options.drop_tables += ["MATH", "FFTM", "hdmx", "LTSH", "VDMX"]
    subsetter = subset.Subsetter(options=options)
    subsetter.populate(unicodes=unicodes)
    subsetter.subset(font)


def rename(font):
    """Gives the font its own names, keeping the base font's copyright and license."""
    name_table = font["name"]
    base_full = name_table.getDebugName(4) or "unknown font"
    base_version = name_table.getDebugName(5) or ""

    replaced = {1, 2, 3, 4, 6, 16, 17, 18, 21, 22}
    name_table.names = [n for n in name_table.names if n.nameID not in replaced]
    unique = "%s: derived from %s %s" % (FAMILY, base_full, base_version)
    for name_id, text in ((1, FAMILY), (2, STYLE), (3, unique.strip()), (4, FAMILY), (6, POSTSCRIPT_NAME)):
        name_table.setName(text, name_id, 3, 1, 0x409)
        name_table.setName(text, name_id, 1, 0, 0)

    os2 = font["OS/2"] if "OS/2" in font else None
    if os2 is not None:
        # Regular style: not bold, not italic.
        os2.fsSelection = (os2.fsSelection & ~0b1100001) | 0b1000000
    font["head"].macStyle = 0


def fix_timestamps(font, stamp):
    font["head"].created = stamp
    font["head"].modified = stamp


def check_output(path, expected_count):
    from fontTools.ttLib import TTFont

    font = TTFont(path)
    cmap = font.getBestCmap()
    family = font["name"].getDebugName(1)
    if family != FAMILY:
        raise FontError("the written font's family is %r instead of %r" % (family, FAMILY))
    glyf = font["glyf"]
    for code in range(PLAIN_UMLAUT_CODE, PLAIN_UMLAUT_CODE + expected_count):
        glyph_name = cmap.get(code)
        if glyph_name is None or glyf[glyph_name].numberOfContours == 0:
            raise FontError("the written font has no outline for U+%04X" % code)


def build(base_path, out_path):
    load_font_tools()
    font = open_base_font(base_path)
    # The base font's own date, so that the output depends on the input only.
    stamp = font["head"].modified or font["head"].created

    targets, composites = target_glyphs(font)
    remap_cmap(font, targets)
    keep_latin(font, targets)
    rename(font)
    fix_timestamps(font, stamp)

    out_dir = os.path.dirname(os.path.abspath(out_path))
    if not os.path.isdir(out_dir):
        raise FontError("the output folder does not exist: %s" % out_dir)
    handle, temp_path = tempfile.mkstemp(prefix=".pinyin-font-", suffix=".ttf", dir=out_dir)
    os.close(handle)
    try:
        font.save(temp_path)
        check_output(temp_path, len(targets))
        os.chmod(temp_path, 0o644)
        os.replace(temp_path, out_path)
    except BaseException:
        if os.path.exists(temp_path):
            os.unlink(temp_path)
        raise
    return len(targets), composites


def main(argv):
    parser = argparse.ArgumentParser(description="Builds the Pinyin display font %r." % FAMILY)
    parser.add_argument("--base", default=DEFAULT_BASE, help="base TrueType font (default: %(default)s)")
    parser.add_argument("output", help="the font file to write")
    args = parser.parse_args(argv)
    try:
        count, composites = build(args.base, args.output)
    except FontError as exc:
        sys.stderr.write("make_pinyin_font: %s\n" % exc)
        return 1
    except Exception as exc:  # a damaged base font can fail anywhere in fontTools
        sys.stderr.write("make_pinyin_font: cannot build the font from %s: %s: %s\n"
                         % (args.base, type(exc).__name__, exc))
        return 1
    built = ", ".join("%s%d %s offset %d,%d" % (l, t, g, o[0], o[1]) for l, t, g, o in composites)
    sys.stdout.write("%s: %d marked letters, composites: %s\n" % (args.output, count, built or "none"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
