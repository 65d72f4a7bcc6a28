#pragma once
// Reads the Unihan database files into per-character source data.
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QStringView>
#include <string>
#include <vector>

namespace quillory::datagen {

// The ideograph range the dictionary covers.
inline constexpr std::uint32_t kFirstIdeograph = 0x4E00;
inline constexpr std::uint32_t kLastIdeograph = 0x9FA5;
inline bool IsDictionaryIdeograph(std::uint32_t code) {
    return code >= kFirstIdeograph && code <= kLastIdeograph;
}

// One tone-marked Pinyin syllable ("zhōng", "lǜ", "Nǚ", "de") to lower case
// with a tone digit ("zhong1", "lv4", "nv3", "de5"); ê stays ê. Empty when
// the text holds anything that is no Pinyin letter or tone mark.
std::string PinyinToToneDigits(QStringView syllable);

// The readings of one Mandarin field value in any of the Unihan forms:
// "zhōng zhòng", "10028.100:zhōng,zhòng", "1494.100:zhōng 1501.040:zhòng",
// "092.080,092.090:fàn"; tone marks kept, order kept, duplicates kept.
std::vector<QString> SplitPinyinField(QStringView value);

// The first kRSUnicode value with any variant-radical mark written as one
// ASCII apostrophe ("168'.0"); empty when it is malformed.
QString NormaliseRadicalStroke(QStringView value);

// Code points of a "U+XXXX U+YYYY" list (annotations after '<' ignored),
// without `self` and without repeats.
std::vector<std::uint32_t> ParseVariantList(QStringView value, std::uint32_t self);

// Appends value unless it is empty or already present.
void AppendUnique(std::vector<std::string>& list, const std::string& value);

// Fills source.characters for U+4E00..U+9FA5 from the Unihan files in dir
// (Unihan_Readings, Unihan_DictionaryLikeData, Unihan_IRGSources,
// Unihan_Variants, each as .txt.bz2 or .txt). Fields are taken by name from
// whichever of these files holds them.
bool ReadUnihan(const QString& dir, SourceData& source, QString* error);

} // namespace quillory::datagen
