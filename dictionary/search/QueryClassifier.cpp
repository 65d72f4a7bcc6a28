#include "dictionary/search/QueryClassifier.h"

#include <algorithm>

namespace quillory {
namespace {

bool IsQueryBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsRomanCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'\'' || u == u' ';
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
    const bool startsWithHighDigit = query[0] >= u'4' && query[0] <= u'9';
    if (!startsWithHighDigit && std::all_of(query.begin(), query.end(), IsRomanCharacter))
        return QueryClass::Roman;
    return QueryClass::Unsearchable;
}

} // namespace quillory
