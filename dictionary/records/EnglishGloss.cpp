#include "dictionary/records/EnglishGloss.h"

namespace quillory {

namespace {

bool IsWordCharacter(char32_t c) {
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

// The text with every balanced (...) or [...] part removed; an unbalanced
// closing bracket is kept as text (it is no word character anyway).
QString WithoutBrackets(QStringView text) {
    QString out;
    out.reserve(text.size());
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(' || c == u'[') {
            ++depth;
        } else if ((c == u')' || c == u']') && depth > 0) {
            --depth;
            out.append(u' ');
        } else if (depth == 0) {
            out.append(c);
        }
    }
    return out;
}

QString JoinWithoutLeadingTo(QStringList words) {
    if (words.size() > 1 && words.front() == u"to") {
        words.removeFirst();
    }
    return words.join(u' ');
}

} // namespace

QStringList EnglishWords(QStringView text) {
    QStringList words;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A lone surrogate counts as U+FFFD, which is no word character.
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            units = 2;
        } else if (QChar::isSurrogate(c)) {
            c = U'\uFFFD';
        }
        if (IsWordCharacter(c)) {
            current.append(text.mid(i, units));
        } else if (!current.isEmpty()) {
            words.append(current.toCaseFolded());
            current.clear();
        }
        i += units - 1;
    }
    if (!current.isEmpty()) {
        words.append(current.toCaseFolded());
    }
    return words;
}

QStringList SplitGlosses(QStringView english) {
    QStringList glosses;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= english.size(); ++i) {
        if (i == english.size() || english[i] == u'/' || english[i] == u';') {
            const QStringView gloss = english.mid(start, i - start).trimmed();
            if (!gloss.isEmpty()) {
                glosses.append(gloss.toString());
            }
            start = i + 1;
        }
    }
    return glosses;
}

QString NormaliseGloss(QStringView gloss) {
    QStringList words = EnglishWords(WithoutBrackets(gloss));
    if (words.isEmpty()) {
        words = EnglishWords(gloss);
    }
    return JoinWithoutLeadingTo(std::move(words));
}

} // namespace quillory
