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
// Roman        - only letters a-z, A-Z, apostrophes and blanks;
// HexCode      - four hexadecimal digits, the first 4-9, naming an ideograph;
// Unsearchable - anything else, the empty text included.
QueryClass ClassifyQuery(const QString& text);

} // namespace quillory
