#pragma once
// Everything the data compiler reads from its sources, merged per character
// and per word, before the data files are written.
#include <QHash>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillory::datagen {

struct CharacterSource {
    std::uint32_t code = 0;
    std::vector<std::string> pinyin;       // tone digits, v for ü, merged in source order, no duplicates
    std::vector<std::string> jyutping;     // tone digits, kCantonese first, then candidates
    std::string cantonese;                 // kCantonese's (first) reading; empty when absent
    int strokes = 0;                       // kTotalStrokes (first value); 0 when unknown
    QString radical;                       // kRSUnicode (first value) as "2.3" / "168'.0"; empty when unknown
    std::vector<std::uint32_t> simplified; // kSimplifiedVariant without the character itself
    std::vector<std::uint32_t> traditional; // kTraditionalVariant without the character itself
    QString definition;                     // kDefinition
    QString cedictEnglish;                  // glosses of CC-CEDICT single-character entries, " / "
    int frequency = 0;                      // kFrequency 1 (most common) .. 5; 0 when absent
    // kHanyuPinlu: how often each reading (tone digits) occurs in a corpus;
    // empty when Unihan does not count this character's readings.
    std::map<std::string, int> pinyinUses;
};

struct WordSource {
    QString traditional;
    QString simplified;
    QString pinyin;   // normalised: lower case, tone digits, v for ü, syllables separated by blanks
    QString jyutping; // from the traditional headword, tone digits, separated by blanks
    QString english;  // glosses separated by " / "
};

struct SourceData {
    std::map<std::uint32_t, CharacterSource> characters; // ideographs U+4E00..U+9FA5 only
    // Every CC-CEDICT entry in file order, then the Cantonese words it lacks
    // (their english empty).
    std::vector<WordSource> words;
    QString cedictHeader; // the license header lines of CC-CEDICT
    // Radical forms from the Unicode radical list: radical key text without
    // residual ("2", "168'") to the radical's form code points.
    std::map<QString, std::vector<std::uint32_t>> radicalForms;
    // Word counts of a large simplified text corpus (jieba's dictionary):
    // word to count, for words and single characters alike.
    QHash<QString, qint64> wordCounts;
    // Word counts of a Cantonese text corpus, in traditional characters.
    QHash<QString, qint64> cantoneseCounts;
};

} // namespace quillory::datagen
