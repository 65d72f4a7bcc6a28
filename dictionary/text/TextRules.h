#pragma once
// Small text rules shared across the program: trimming of blanks and line
// ends, and the hexadecimal rule that reads numbers from links, lists and
// queries.
#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace quillory {

// Blank, tab, line feed or carriage return.
constexpr bool IsBlankOrLineEnd(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

QStringView TrimBlanks(QStringView text);

// Value of a hexadecimal digit of either case, or -1.
constexpr int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    return -1;
}

// Every hexadecimal digit counts and anything else is skipped; a leading "-"
// negates; arithmetic wraps at 32 bits; an empty text is 0.
std::uint32_t HexValue(QStringView text);

// The one character of a code point, as text; U+FFFD for a surrogate or a
// value beyond U+10FFFF, which no text may hold alone (a damaged record's
// variant field, say), so that no lone surrogate reaches JSON or a page.
inline QString CodePointText(std::uint32_t code) {
    const char32_t c = (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF ? 0xFFFD : code;
    return QString::fromUcs4(&c, 1);
}

} // namespace quillory
