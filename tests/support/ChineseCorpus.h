#pragma once
// Long running text made of the record store's real words, for tests and
// benchmarks of the Converter: dictionary words in dictionary order, ten to
// a clause, with Chinese punctuation and a line break after every sentence.
#include "dictionary/records/RecordStore.h"

#include <QString>

namespace quillory::testing {

enum class CorpusForm { Simplified, Traditional, Mixed };

// At least minUnits UTF-16 units (less only when the store runs out of
// words). Mixed interleaves each entry's simplified form, its English,
// its Pinyin and a number, and an ampersand now and then.
inline QString RealChineseText(const RecordStore& store, qsizetype minUnits, CorpusForm form) {
    QString text;
    text.reserve(minUnits + 64);
    int words = 0;
    for (const WordReading& word : store.wordReadings()) {
        if (text.size() >= minUnits) {
            break;
        }
        switch (form) {
        case CorpusForm::Simplified:
            text += word.simplified;
            break;
        case CorpusForm::Traditional:
            text += word.traditional;
            break;
        case CorpusForm::Mixed:
            text += word.simplified + u' ' + word.english.section(u'/', 0, 0) + u' ' + word.pinyin + u' ' +
                    QString::number(words) + (words % 7 == 0 ? QStringLiteral(" & ") : QStringLiteral(" "));
            break;
        }
        ++words;
        text += words % 40 == 0 ? QStringLiteral("。\n") : words % 10 == 0 ? QStringLiteral("，") : QString();
    }
    return text;
}

} // namespace quillory::testing
