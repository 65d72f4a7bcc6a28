#pragma once
// Chinese text to Pinyin or Jyutping, word by word: each run of Chinese
// characters is split into the most probable sequence of dictionary words
// (the greatest sum of log word probabilities), and each word takes its
// reading, so that 银行 reads yin2 hang2 and 行人 xing2 ren2.
//
// Output: the syllables of a word are separated by one blank, neighbouring
// words by two; all other text stays as it stands, with one blank put
// between it and a reading where a letter or digit would touch a tone digit.
#include "tools/convert/ReadingLexicon.h"

#include <QString>
#include <QStringView>

namespace quillory {

struct ReadingRequest {
    Scheme scheme = Scheme::Pinyin;
    bool traditional = false; // the text is traditional Chinese
    QStringView simplified;   // traditional text's simplified form, unit for unit; empty when unknown
};

QString WriteReadings(QStringView text, const ReadingRequest& request, const ReadingLexicon& lexicon);

// Ideographs of the unified blocks, their extensions and the compatibility block.
bool IsChineseCharacter(char32_t code);

} // namespace quillory
