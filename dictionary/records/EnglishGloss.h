#pragma once
// How English meanings are cut into words and glosses for matching. The data
// compiler and the record store must agree on these forms, so both use them.
#include <QString>
#include <QStringList>
#include <QStringView>

namespace quillory {

// The words of an English text: maximal runs of letters, digits and marks,
// case-folded. Everything else (punctuation, blanks, invalid text) separates.
QStringList EnglishWords(QStringView text);

// The glosses of an English text whose meanings are separated by "/" or ";",
// each trimmed; empty glosses are dropped.
QStringList SplitGlosses(QStringView english);

// The comparable form of one gloss or query: bracketed qualifiers removed
// ("(literary) to study (math)" -> "to study"), then its words joined by
// single blanks, without a leading "to" when more words follow. Falls back to
// the words of the whole text when only brackets were there.
QString NormaliseGloss(QStringView gloss);

} // namespace quillory
