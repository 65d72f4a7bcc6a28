#include "dictionary/text/TextRules.h"

namespace quillory {

QStringView TrimBlanks(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlankOrLineEnd(text[first])) {
        ++first;
    }
    while (last > first && IsBlankOrLineEnd(text[last - 1])) {
        --last;
    }
    return text.mid(first, last - first);
}

std::uint32_t HexValue(QStringView text) {
    std::uint32_t value = 0;
    for (const QChar c : text) {
        const int digit = HexDigit(c.unicode());
        if (digit >= 0) {
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
    }
    if (!text.isEmpty() && text.front() == u'-') {
        value = 0u - value;
    }
    return value;
}

} // namespace quillory
