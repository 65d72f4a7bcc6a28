#include "dictionary/search/RomanQuery.h"

#include <QSet>
#include <algorithm>
#include <climits>

namespace quillory {

namespace {

// Longer texts are no query anyone types; the bound keeps the split cheap.
constexpr qsizetype kMaxLetters = 60;

struct Inventory {
    QSet<QString> syllables; // toneless
    QSet<QString> starts;    // every non-empty beginning of a syllable
    qsizetype longest = 0;
};

// Every toneless syllable the scheme's tables spell: each initial and final
// pair decoded, kept when it encodes back (which drops the initials alone).
Inventory BuildInventory(Scheme scheme) {
    Inventory inventory;
    const auto add = [&inventory](const QString& syllable) {
        inventory.syllables.insert(syllable);
        for (qsizetype length = 1; length <= syllable.size(); ++length) {
            inventory.starts.insert(syllable.left(length));
        }
        inventory.longest = std::max(inventory.longest, syllable.size());
    };
    for (int initial = 0; initial < 32; ++initial) {
        for (int finalPosition = 0; finalPosition < 64; ++finalPosition) {
            const auto id = static_cast<SyllableId>((initial << 11) | (1 << 8) | finalPosition);
            const std::optional<std::string> text = DecodeSyllable(id, scheme);
            if (text && EncodeSyllable(*text, scheme)) {
                add(QString::fromLatin1(text->data(), qsizetype(text->size()) - 1));
            }
        }
    }
    // The dictionary writes the erhua suffix as a syllable of its own ("r5").
    if (scheme == Scheme::Pinyin) {
        add(QStringLiteral("r"));
    }
    return inventory;
}

const Inventory& InventoryOf(Scheme scheme) {
    static const Inventory pinyin = BuildInventory(Scheme::Pinyin);
    static const Inventory jyutping = BuildInventory(Scheme::Jyutping);
    return scheme == Scheme::Pinyin ? pinyin : jyutping;
}

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\'' || c == u'\u2019' || c == u'-';
}

// The tone of a combining tone mark (after canonical decomposition), else 0.
int MarkTone(char16_t c) {
    switch (c) {
    case 0x0304:
        return 1;
    case 0x0301:
        return 2;
    case 0x030C:
        return 3;
    case 0x0300:
        return 4;
    default:
        return 0;
    }
}

// A tone digit of a stored reading; the neutral tone is 5.
int StoredTone(char16_t digit) {
    return digit == u'0' ? 5 : digit - u'0';
}

struct ReadingSyllable {
    int start = 0;
    int end = 0;
    int tone = 5;
};

// The syllables of a stored reading with their letter offsets; tokens without
// letters (punctuation) are left out, a syllable without digit is neutral.
std::vector<ReadingSyllable> ReadingSyllables(QStringView reading) {
    std::vector<ReadingSyllable> syllables;
    ReadingSyllable current;
    const auto finish = [&] {
        if (current.end > current.start) {
            syllables.push_back(current);
        }
        current = ReadingSyllable{current.end, current.end, 5};
    };
    for (qsizetype i = 0; i < reading.size(); ++i) {
        const char16_t c = reading[i].unicode();
        if (c == u' ') {
            finish();
        } else if (c >= u'0' && c <= u'9') {
            current.tone = StoredTone(c);
        } else if (c == u':' && i > 0 && reading[i - 1] == u'u') {
            continue; // "u:" is one letter, v
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'ü' || c == u'Ü') {
            ++current.end;
        }
    }
    finish();
    return syllables;
}

} // namespace

bool IsSyllable(QStringView letters, Scheme scheme) {
    return InventoryOf(scheme).syllables.contains(letters.toString());
}

bool IsSyllableStart(QStringView letters, Scheme scheme) {
    return InventoryOf(scheme).starts.contains(letters.toString());
}

std::optional<RomanQuery> RomanQuery::Parse(QStringView text, Scheme scheme, bool prefix) {
    const bool pinyin = scheme == Scheme::Pinyin;
    const int highestDigit = pinyin ? 5 : 6;
    RomanQuery query;
    query.scheme_ = scheme;
    query.prefix_ = prefix;
    QString& letters = query.letters_;
    std::vector<int> marks; // letters carrying a tone mark
    bool afterLetter = false;
    // Canonical decomposition turns every marked letter (ǚ, Ǎ) into its base
    // letter followed by combining marks.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    for (const QChar ch : decomposed) {
        const char16_t c = ch.unicode();
        const int last = int(letters.size()) - 1;
        if (IsSeparator(c)) {
            if (!letters.isEmpty()) {
                query.boundaries_.push_back(int(letters.size()));
            }
            afterLetter = false;
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            letters += QChar(c | 0x20);
            afterLetter = true;
        } else if (!afterLetter) {
            return std::nullopt; // marks and digits follow a letter
        } else if (c == 0x0308 || c == u':') {
            if (!pinyin || letters.back() != u'u') {
                return std::nullopt;
            }
            letters.back() = u'v';
        } else if (const int tone = MarkTone(c); tone != 0) {
            if (!pinyin || (!marks.empty() && marks.back() == last)) {
                return std::nullopt;
            }
            marks.push_back(last);
            query.tones_.push_back({last, tone});
            query.marked_ = true;
        } else if (c >= u'0' && c <= u'9') {
            const int tone = pinyin ? StoredTone(c) : c - u'0';
            if (tone < 1 || tone > highestDigit) {
                return std::nullopt;
            }
            query.tones_.push_back({last, tone});
            query.boundaries_.push_back(last + 1);
            afterLetter = false;
        } else {
            return std::nullopt;
        }
    }
    const int n = int(letters.size());
    if (n == 0 || n > kMaxLetters) {
        return std::nullopt;
    }
    std::vector<int>& boundaries = query.boundaries_;
    boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());
    const bool endStated = !boundaries.empty() && boundaries.back() == n;

    // The fewest syllables reaching each offset; no syllable crosses a
    // stated boundary or carries two tone marks.
    const Inventory& inventory = InventoryOf(scheme);
    const auto nextBoundary = [&](int offset) {
        const auto it = std::upper_bound(boundaries.begin(), boundaries.end(), offset);
        return it == boundaries.end() ? n : *it;
    };
    const auto marksIn = [&](int begin, int end) {
        return std::count_if(marks.begin(), marks.end(), [&](int at) { return at >= begin && at < end; });
    };
    std::vector<int> fewest(std::size_t(n) + 1, INT_MAX);
    fewest[0] = 0;
    for (int i = 0; i < n; ++i) {
        if (fewest[std::size_t(i)] == INT_MAX) {
            continue;
        }
        const int limit = nextBoundary(i);
        const int step = fewest[std::size_t(i)] + 1;
        for (int end = i + 1; end <= limit && end - i <= inventory.longest; ++end) {
            if (inventory.syllables.contains(letters.mid(i, end - i)) && marksIn(i, end) <= 1) {
                fewest[std::size_t(end)] = std::min(fewest[std::size_t(end)], step);
            }
        }
        if (prefix && !endStated && limit == n && n - i <= inventory.longest &&
            inventory.starts.contains(letters.mid(i)) && marksIn(i, n) <= 1) {
            query.fewestSyllables_ =
                query.fewestSyllables_ == 0 ? step : std::min(query.fewestSyllables_, step);
        }
    }
    if (fewest[std::size_t(n)] != INT_MAX) {
        query.fewestSyllables_ = query.fewestSyllables_ == 0
                                     ? fewest[std::size_t(n)]
                                     : std::min(query.fewestSyllables_, fewest[std::size_t(n)]);
    }
    if (query.fewestSyllables_ == 0) {
        return std::nullopt;
    }
    query.singleSyllable_ = (boundaries.empty() || boundaries.front() == n) && marks.size() <= 1 &&
                            inventory.syllables.contains(letters);
    return query;
}

ReadingFit RomanQuery::fit(QStringView reading) const {
    const std::vector<ReadingSyllable> syllables = ReadingSyllables(reading);
    const int n = int(letters_.size());
    if (syllables.empty() || (prefix_ ? syllables.back().end < n : syllables.back().end != n)) {
        return ReadingFit::None;
    }
    // Every stated boundary is a syllable end of the reading.
    auto syllable = syllables.begin();
    for (const int boundary : boundaries_) {
        while (syllable != syllables.end() && syllable->end < boundary) {
            ++syllable;
        }
        if (syllable == syllables.end() || syllable->end != boundary) {
            return ReadingFit::None;
        }
    }
    // Every stated tone agrees with its syllable's; a syllable carries at
    // most one mark.
    std::vector<int> stated(syllables.size(), 0);
    for (const StatedTone& tone : tones_) {
        const auto holder = std::find_if(syllables.begin(), syllables.end(),
                                         [&](const ReadingSyllable& s) { return tone.letter < s.end; });
        if (holder == syllables.end() || holder->tone != tone.tone) {
            return ReadingFit::None;
        }
        const std::size_t index = std::size_t(holder - syllables.begin());
        if (++stated[index] > 1 && marked_) {
            return ReadingFit::None;
        }
    }
    if (tones_.empty()) {
        return ReadingFit::Toneless;
    }
    // Written with marks, a syllable without one is in the neutral tone.
    for (std::size_t i = 0; i < syllables.size() && syllables[i].start < n; ++i) {
        if (stated[i] == 0 && !(marked_ && syllables[i].tone == 5)) {
            return ReadingFit::Toneless;
        }
    }
    return ReadingFit::Exact;
}

} // namespace quillory
