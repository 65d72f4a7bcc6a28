#pragma once
// The Pinyin display font "Oxapinyin basic": a free Latin font whose code
// points U+00BF..U+00DF draw u with diaeresis and the tone-marked letters,
// built by the make_pinyin_font.py script with Python's fontTools.
#include <QString>

namespace quillory::datagen {

// The file name of the font in the data folder.
QString PinyinFontFileName();

// The base font used when none is given.
QString DefaultPinyinFontBase();

// Writes the font to outPath from baseFont (empty: the default base). On
// failure returns false with the reason in *error; outPath is then unchanged.
bool WritePinyinFont(const QString& outPath, QString* error, const QString& baseFont = {});

} // namespace quillory::datagen
