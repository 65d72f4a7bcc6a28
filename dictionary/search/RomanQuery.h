#pragma once
// A typed romanised text read as Pinyin or as Jyutping, the way learners type
// it: tone digits ("zhong1wen2", "nei5 hou2"), tone marks ("zhōngwén",
// "lǚyóu"), no tones at all ("Zhongwen"), ü as v, u: or ü, blanks,
// apostrophes and hyphens between syllables ("xi'an").
//
// The query is not split into syllables up front. A reading found by the
// query's letters (see ReadingLetters) matches when its syllables line up
// with what the query states: every stated boundary (a separator, or a tone
// digit ending a syllable) falls on a boundary of the reading, and every
// stated tone equals the reading's tone on the syllable that carries it.
// Letters without a stated boundary may split any way ("xian" is xian or
// xi an; "fangan" fang an or fan gan).
#include "dictionary/text/Romanisation.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace quillory {

// How well a reading fits a query.
enum class ReadingFit {
    None,     // a stated boundary or tone disagrees
    Toneless, // fits, but some syllable's tone was not stated
    Exact,    // fits, and every syllable's tone was stated and agrees
};

class RomanQuery {
public:
    // The text read in the scheme, or nullopt when it is no reading of it:
    // characters other than letters, separators and the scheme's tone digits
    // (Pinyin 1-5 and 0 for the neutral tone, Jyutping 1-6) or, for Pinyin,
    // tone marks; a digit not following a letter; letters that do not split
    // into the scheme's syllables. A prefix (text being typed) may end inside
    // a syllable.
    static std::optional<RomanQuery> Parse(QStringView text, Scheme scheme, bool prefix = false);

    Scheme scheme() const { return scheme_; }
    // Letters without tones and separators, lower case, ü as v: the index key.
    const QString& letters() const { return letters_; }
    bool hasTones() const { return !tones_.empty(); }
    bool hasToneMarks() const { return marked_; }
    // The fewest syllables the letters split into (a partial last syllable of
    // a prefix counts as one).
    int fewestSyllables() const { return fewestSyllables_; }
    // The letters form one syllable of the scheme and no boundary is stated
    // inside them ("ma", "zhong1", "xian"; not "xi'an").
    bool isSingleSyllable() const { return singleSyllable_; }

    // How a reading in the record store's form fits (lower case, tone digits,
    // v for ü, syllables separated by blanks). For a whole query the
    // reading's letters equal the query's; for a prefix they start with them,
    // and only the syllables the query reaches into count.
    ReadingFit fit(QStringView reading) const;

private:
    struct StatedTone {
        int letter; // index into letters_ of a letter of the syllable
        int tone;   // 1-6; 5 is the neutral tone
    };

    Scheme scheme_ = Scheme::Pinyin;
    bool prefix_ = false;
    bool marked_ = false;
    bool singleSyllable_ = false;
    int fewestSyllables_ = 0;
    QString letters_;
    std::vector<int> boundaries_; // ascending letter offsets where a syllable must end
    std::vector<StatedTone> tones_;
};

// Whether letters (lower case, v for ü) are one whole syllable of the scheme,
// or the beginning of one.
bool IsSyllable(QStringView letters, Scheme scheme);
bool IsSyllableStart(QStringView letters, Scheme scheme);

} // namespace quillory
