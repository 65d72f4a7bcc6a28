#include "tools/convert/HtmlReferences.h"

#include "dictionary/text/Romanisation.h"

#include <QList>

namespace quillory {

namespace {

constexpr char32_t kFirstEncoded = 0x4E00;
constexpr char32_t kLastEncoded = 0x9FA5;
constexpr char32_t kLastCodePoint = 0x10FFFF;

int DigitValue(QChar c, int base) {
    const char16_t u = c.toLower().unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (base == 16 && u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    return -1;
}

// The code named by the digits, or 0 when they are no valid reference:
// none at all, a character that is not a digit of the base, a surrogate,
// zero, or beyond the last code point (checked as the digits come, so no
// run of digits can overflow).
char32_t ReferenceCode(QStringView digits, int base) {
    if (digits.isEmpty()) {
        return 0;
    }
    char32_t code = 0;
    for (const QChar c : digits) {
        const int value = DigitValue(c, base);
        if (value < 0) {
            return 0;
        }
        code = code * base + char32_t(value);
        if (code > kLastCodePoint) {
            return 0;
        }
    }
    if (code >= 0xD800 && code <= 0xDFFF) {
        return 0;
    }
    return code;
}

} // namespace

QString EncodeHtml(QStringView text) {
    QString result;
    result.reserve(text.size() * 4);
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= kFirstEncoded && code <= kLastEncoded) {
            result += QStringLiteral("&#x") + QString::number(code, 16) + u';';
        } else if (code == u'&') {
            // Written as a reference too, so that a text holding "&#20013;"
            // itself comes back from DecodeHtml as it was.
            result += QLatin1String("&#38;");
        } else {
            result += c;
        }
    }
    return result;
}

QString PinyinToHtml(QStringView text) {
    const QString marked = MarkPinyinUnicode(text);
    QString result;
    result.reserve(marked.size() * 2);
    for (const char32_t code : marked.toUcs4()) {
        if (code > u'z') {
            result += QStringLiteral("&#") + QString::number(quint32(code)) + u';';
        } else {
            result += QChar(char16_t(code));
        }
    }
    return result;
}

QString DecodeHtml(QStringView text) {
    QString result;
    result.reserve(text.size());
    // Where the next ";" lies, found once and reused while it is ahead, so a
    // text of many "&#" and no ";" is scanned once, not once per "&#".
    qsizetype semicolon = -1;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        const QChar c = text[i];
        if (c != u'&' || i + 1 >= size || text[i + 1] != u'#') {
            result += c;
            ++i;
            continue;
        }
        const qsizetype start = i + 2; // after "&#"
        if (semicolon != size && semicolon < start) {
            semicolon = text.indexOf(u';', start);
            if (semicolon < 0) {
                semicolon = size;
            }
        }
        if (semicolon == size) {
            result += text.mid(i, 2);
            i = start;
            continue;
        }
        const bool hex = start < size && (text[start] == u'x' || text[start] == u'X');
        const qsizetype digitsStart = hex ? start + 1 : start;
        const char32_t code =
            semicolon >= digitsStart
                ? ReferenceCode(text.mid(digitsStart, semicolon - digitsStart), hex ? 16 : 10)
                : 0;
        if (code == 0) {
            // Not valid: "&#" (and the x) as text, then the rest is scanned as text.
            result += text.mid(i, digitsStart - i);
            i = digitsStart;
            continue;
        }
        result += QString::fromUcs4(&code, 1);
        i = semicolon + 1;
    }
    return result;
}

} // namespace quillory
