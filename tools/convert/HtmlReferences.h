#pragma once
// Chinese text and Pinyin as HTML numeric character references, and back.
#include <QString>
#include <QStringView>

namespace quillory {

// Every character of U+4E00..U+9FA5 as "&#x4e2d;" (lower-case hex) and
// "&" as "&#38;", so that DecodeHtml gives back the text exactly; all other
// text as it stands.
QString EncodeHtml(QStringView text);

// Tone digits to tone marks, then every character above "z" as "&#464;"
// (its whole code, decimal; a character beyond U+FFFF as one reference).
QString PinyinToHtml(QStringView text);

// Decimal ("&#20013;") and hexadecimal ("&#x4E2D;") references to their
// characters. A reference is valid when one or more digits of its base stand
// between "&#" or "&#x" and the next ";" and name a character (U+0001 to
// U+10FFFF, no surrogate); anything else, "&amp;" and a lone "&" included,
// stays as it stands.
QString DecodeHtml(QStringView text);

} // namespace quillory
