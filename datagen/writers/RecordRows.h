#pragma once
// The rows of the record store computed from the merged sources: each
// character's record fields and the ranking data of dictionary entries.
#include "datagen/sources/SourceData.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace quillory::datagen {

// Frequency grade used for ranking: Unihan's 1 (most common) .. 5, and 6 for
// characters without a grade or not in the sources.
inline constexpr int kUngradedFrequency = 6;

struct CharacterRow {
    std::uint32_t code = 0;
    QString pinyin;             // readings separated by blanks
    QString jyutping;           // readings separated by blanks
    int strokes = 0;            // 0 when unknown
    QString radical;            // "2.3", "168'.0"
    int frequency = 0;          // Unihan grade 1..5, 0 when absent
    int wordCount = 0;          // dictionary entries whose either form holds the character
    QString english2;           // the dictionary's single-character glosses
    QString fanti;              // traditional variants, hex code points separated by blanks
    QString jianti;             // simplified variants, likewise
    QString pinyinMarks;        // the readings with tone marks
    QString english;            // kDefinition senses separated by " / ", else english2
    QString radicalForms;       // the radical's forms as hex code points separated by blanks
    QString exampleWords;       // a few common words holding the character, separated by blanks
    bool hasDefinition = false; // english comes from kDefinition
};

// How common an entry's text is: the sum of its characters' frequency
// grades, so that common characters and shorter words come first. A
// character counts with the best grade among it and its variants (Unihan
// grades simplified forms sparsely); anything not in the sources (Latin
// letters, punctuation) counts as ungraded.
class FrequencyGrades {
public:
    explicit FrequencyGrades(const SourceData& source);
    int grade(std::uint32_t code) const;
    int commonness(const QString& text) const;

private:
    std::unordered_map<std::uint32_t, int> grades_;
};

// kDefinition with its ";" sense separators turned into " / ".
QString EnglishFromDefinition(const QString& definition);

// Code points as upper-case hex separated by blanks ("5B78 6588").
QString HexCodeList(const std::vector<std::uint32_t>& codes);

// The count of every headword (simplified and traditional) and every
// character, keyed by its UTF-8 text (SQLite's order). A form takes the
// count of its simplified form, or its own when that is larger; 0 when the
// word counts do not list it.
std::map<QByteArray, qint64> BuildWordFrequencies(const SourceData& source);

// One row per character of the sources, in code order.
std::vector<CharacterRow> BuildCharacterRows(const SourceData& source, const FrequencyGrades& grades);

} // namespace quillory::datagen
