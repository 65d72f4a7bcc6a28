#include "dictionary/search/QueryClassifier.h"

#include <string_view>

namespace quillory {
namespace {

bool IsQueryBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Lower-case vowels with the four Pinyin tone marks, ü with and without them,
// and the marked forms of the syllabic m and n (ḿ, ń, ň, ǹ).
constexpr char16_t kMarkedLetters[] = u"āáǎàēéěèêīíǐìōóǒòūúǔùüǖǘǚǜḿńňǹ";

bool IsPlainLetter(char16_t u) {
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool IsMarkedLetter(QChar c) {
    const char16_t lower = c.toLower().unicode();
    return lower >= 0x80 && std::u16string_view(kMarkedLetters).find(lower) != std::u16string_view::npos;
}

bool IsLetter(QChar c) {
    return IsPlainLetter(c.unicode()) || IsMarkedLetter(c);
}

// Letters, blanks and apostrophes anywhere; ":" only after u or U; a tone
// digit 0-6 only right after a letter or after "u:". So a text that starts
// with a digit is no Roman text.
bool IsRomanText(const QString& text) {
    QChar previous;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        bool fits = IsLetter(c) || u == u'\'' || u == u' ';
        if (u == u':')
            fits = previous == u'u' || previous == u'U';
        else if (u >= u'0' && u <= u'6')
            fits = IsLetter(previous) || previous == u':';
        if (!fits)
            return false;
        previous = c;
    }
    return true;
}

bool IsHexCode(const QString& text) {
    if (text.size() != 4 || text[0] < u'4' || text[0] > u'9')
        return false;
    std::uint32_t code = 0;
    for (QChar c : text) {
        const int digit = HexDigit(c.unicode());
        if (digit < 0)
            return false;
        code = code * 16 + static_cast<std::uint32_t>(digit);
    }
    return IsIdeograph(code);
}

} // namespace

QString TrimQuery(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsQueryBlank(text[begin]))
        ++begin;
    while (end > begin && IsQueryBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QueryClass ClassifyQuery(const QString& text) {
    const QString query = TrimQuery(text);
    if (query.isEmpty())
        return QueryClass::Unsearchable;
    if (IsIdeograph(query[0].unicode()))
        return QueryClass::Chinese;
    if (IsHexCode(query))
        return QueryClass::HexCode;
    // Tone marks typed as combining characters count as the marked letters.
    if (IsRomanText(query.normalized(QString::NormalizationForm_C)))
        return QueryClass::Roman;
    return QueryClass::Unsearchable;
}

bool IsEnglishQuery(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!IsPlainLetter(u) && u != u' ' && u != u'\'')
            return false;
    }
    return true;
}

} // namespace quillory
