#include "dictionary/records/ReadingKeys.h"

namespace quillory {

QString ReadingLetters(QStringView reading) {
    QString letters;
    letters.reserve(reading.size());
    for (qsizetype i = 0; i < reading.size(); ++i) {
        const char16_t c = reading[i].unicode();
        if (c == u'ü' || c == u'Ü') {
            letters += u'v';
        } else if (c == u':' && !letters.isEmpty() && letters.back() == u'u') {
            letters.back() = u'v'; // "u:" is how CC-CEDICT writes ü
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            letters += QChar(c | 0x20);
        }
    }
    return letters;
}

} // namespace quillory
