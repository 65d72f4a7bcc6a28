#pragma once
// The words and characters of the record store with their readings and how
// probable each is in running text, for reading Chinese text word by word.
#include "dictionary/records/RecordStore.h"
#include "dictionary/text/Romanisation.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

namespace quillory {

class ReadingLexicon {
public:
    // A headword found in the lexicon.
    struct Match {
        double logProbability = 0;        // log of the word's share of all counted words
        const QString* reading = nullptr; // syllables with tone digits, separated by blanks
    };

    // Words are keyed by both their simplified and traditional forms. A
    // form's reading is that of its first dictionary entry that is no
    // surname, variant or cross-reference and has one syllable per
    // character; a single character reads its most common reading.
    void Build(const std::vector<WordReading>& words, const std::vector<CharacterReading>& characters);
    // False when the store holds no characters.
    bool Load(const RecordStore& store);
    bool isEmpty() const { return words_.isEmpty(); }

    // The word spelled exactly as text. traditional: the text is traditional
    // Chinese, so a form that is both some entry's simplified and another's
    // traditional headword reads as the traditional one.
    std::optional<Match> find(QStringView text, Scheme scheme, bool traditional) const;
    // The longest headword starting with this UTF-16 unit, in units.
    int maxLength(QChar first) const { return maxLengths_[first.unicode()]; }
    // A character that is no headword counts as seen once.
    double unknownLogProbability() const { return unknownLogProbability_; }

private:
    struct Entry {
        float logProbability = 0;
        int simplifiedReading = -1; // index into readings_, or -1
        int traditionalReading = -1;
    };

    std::vector<QString> keys_; // owns the text the keys of words_ view
    QHash<QStringView, Entry> words_;
    std::vector<std::array<QString, 2>> readings_; // Pinyin, Jyutping
    std::vector<quint8> maxLengths_ = std::vector<quint8>(0x10000, 0);
    double unknownLogProbability_ = 0;
};

} // namespace quillory
