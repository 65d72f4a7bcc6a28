#pragma once
// Pinyin and Jyutping syllables: the fixed syllable tables, the 16-bit
// SyllableId stored in the data files and links, and tone marking.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

using SyllableId = std::uint16_t;

enum class Scheme { Pinyin, Jyutping };

// Tone of the last character when it is a tone digit of the scheme
// (Pinyin 1-5, Jyutping 1-6), else 0; 0 for an empty text.
int PinyinTone(std::string_view text);
int JyutpingTone(std::string_view text);

// Toned syllable text ("zhong1") to its id; nullopt when it is no syllable.
std::optional<SyllableId> EncodeSyllable(std::string_view text, Scheme scheme);
// Id to toned syllable text; nullopt for an invalid id.
std::optional<std::string> DecodeSyllable(SyllableId id, Scheme scheme);

// One Pinyin syllable with tone digit to tone-marked Unicode text ("zhōng"),
// or to the private display font form (marked letters as U+00BF..U+00DF).
std::optional<QString> MarkSyllableUnicode(QStringView syllable);
std::optional<QString> MarkSyllableFont(QStringView syllable);

// Every toned syllable of a whole text marked; other text kept as it stands.
QString MarkPinyinUnicode(QStringView text);
QString MarkPinyinFont(QStringView text);

// Text in the display font form back to Unicode marks, for a reader that
// does not have the program's Pinyin font.
QString FontFormToUnicode(QStringView text);

} // namespace quillory
