#pragma once
// What a typed query means, and the hexadecimal rule that reads numbers from
// links, lists and queries.
#include "dictionary/lists/CharacterList.h"
#include "dictionary/text/TextRules.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace quillory {

enum class QueryClass { Chinese, Roman, HexCode, Unsearchable };

// The text without leading and trailing blanks, tabs and line breaks.
QString TrimQuery(const QString& text);

// Classifies the trimmed text:
// Chinese      - the first character is an ideograph;
// Roman        - English or a romanised reading: letters a-z and A-Z, the
//                Pinyin vowels with tone marks and ü (either case), blanks,
//                apostrophes, "u:" for ü, and tone digits 0-6, each right
//                after a letter or "u:" ("ni3hao3", "lu:3", "nei5 hou2");
//                the text starts with a letter or an apostrophe;
// HexCode      - four hexadecimal digits, the first 4-9, naming an ideograph;
// Unsearchable - anything else, the empty text included.
QueryClass ClassifyQuery(const QString& text);

// Text the English search takes: only letters a-z, A-Z, blanks and
// apostrophes ("don't"). A text with tone digits or marks is a reading.
bool IsEnglishQuery(const QString& text);

} // namespace quillory
