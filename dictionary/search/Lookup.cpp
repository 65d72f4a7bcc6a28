#include "dictionary/search/Lookup.h"

#include "dictionary/lists/CharacterList.h"
#include "dictionary/records/ReadingIndex.h"
#include "dictionary/records/RecordStore.h"
#include "dictionary/search/QueryClassifier.h"
#include "dictionary/search/RomanQuery.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <tuple>

namespace quillory {

// How a romanised query is read:
// - as Pinyin whenever its letters split into Pinyin syllables (tone digits
//   1-5 or 0, tone marks, or no tones);
// - as Jyutping when it has Jyutping tone digits ("nei5 hou2", "sik6faan6");
//   without tones only when it splits into at least two Jyutping syllables
//   and is no Pinyin ("mgoi", "sikfaan"), or finds neither a Pinyin nor an
//   English entry ("neihou"; not "house", which would read hou2 se1): single
//   toneless syllables are left out, since many English words spell one
//   ("cat", "sit", "but");
// - as English when it holds only letters, blanks and apostrophes, as before.
// The index decides the rest: "water", "hello" and "bank" spell no entry's
// letters and read as English only; "fan", "man" and "long" read as both.
// Within a reading system exact tone matches lead, then the more common
// entry, then the one with fewer syllables ("xian": 先 before 西安 when as
// common), then the dictionary's order. The system whose first match is an
// exact tone match leads; otherwise Pinyin.

namespace {

// Rows of one letters key read at most, most common first: the busiest
// keys ("yi", "ji", "yu") have some two hundred.
constexpr int kKeysRead = 1000;
// Rows read per wanted suggestion: some fail a stated tone or boundary.
constexpr int kSuggestionKeysPerResult = 6;

// A stored reading field may hold alternatives separated by "/": the matched
// reading then stands for the field.
QString ReadingOrMatched(const QString& field, const QString& matched) {
    return field.contains(u'/') || field.isEmpty() ? matched : field;
}

LookupMatch MatchOf(const IndexedWord& word) {
    return {word.simplified, word.traditional, word.pinyin, word.jyutping, word.english, word.count};
}

QString FirstGloss(const QString& english) {
    return english.section(QStringLiteral(" / "), 0, 0).trimmed();
}

int SyllableCount(const QString& reading) {
    return int(reading.count(u' ')) + 1;
}

struct Candidate {
    const ReadingKey* key;
    ReadingFit fit;
    int syllables;
};

// The keys that fit the query, best first, one per entry.
std::vector<Candidate> RankedCandidates(const RomanQuery& query, const std::vector<ReadingKey>& keys) {
    std::vector<Candidate> candidates;
    for (const ReadingKey& key : keys) {
        const ReadingFit fit = query.fit(key.reading);
        if (fit != ReadingFit::None) {
            candidates.push_back({&key, fit, SyllableCount(key.reading)});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::tuple(a.fit != ReadingFit::Exact, -a.key->count, a.syllables, a.key->wordId) <
               std::tuple(b.fit != ReadingFit::Exact, -b.key->count, b.syllables, b.key->wordId);
    });
    QSet<qint64> seen;
    std::erase_if(candidates, [&seen](const Candidate& c) {
        if (seen.contains(c.key->wordId)) {
            return true;
        }
        seen.insert(c.key->wordId);
        return false;
    });
    return candidates;
}

// Appends an entry unless one of the same forms and readings is there
// already (the dictionary splits some words into entries by sense): then
// its glosses join that one's.
void AddMatch(std::vector<LookupMatch>& matches, LookupMatch match) {
    for (LookupMatch& kept : matches) {
        // A name's reading is capitalised ("Ma3" beside "ma3"): the same reading.
        if (kept.word == match.word && kept.traditional == match.traditional &&
            kept.pinyin.compare(match.pinyin, Qt::CaseInsensitive) == 0 &&
            kept.jyutping.compare(match.jyutping, Qt::CaseInsensitive) == 0) {
            if (!match.english.isEmpty() && !kept.english.contains(match.english)) {
                kept.english += (kept.english.isEmpty() ? QString() : QStringLiteral(" / ")) + match.english;
            }
            return;
        }
    }
    matches.push_back(std::move(match));
}

// Adds a reading match: one line per word as the system writes it (Pinyin
// the simplified form, Jyutping the traditional one). The same word with
// the same reading joins its glosses there (线 for 線 and 綫); the same word
// with another reading of the same letters is a lesser one and is left out
// ("ma": 吗 ma5, not also ma2 and ma3).
void AddReadingMatch(std::vector<LookupMatch>& matches, LookupMatch match, ReadingSystem system) {
    const bool pinyin = system == ReadingSystem::Pinyin;
    for (LookupMatch& kept : matches) {
        if ((pinyin ? kept.word : kept.traditional) != (pinyin ? match.word : match.traditional)) {
            continue;
        }
        const QString& keptReading = pinyin ? kept.pinyin : kept.jyutping;
        if (keptReading.compare(pinyin ? match.pinyin : match.jyutping, Qt::CaseInsensitive) == 0 &&
            !match.english.isEmpty() && !kept.english.contains(match.english)) {
            kept.english += (kept.english.isEmpty() ? QString() : QStringLiteral(" / ")) + match.english;
        }
        return;
    }
    matches.push_back(std::move(match));
}

} // namespace

QString LookupKindName(LookupKind kind) {
    switch (kind) {
    case LookupKind::Chinese:
        return QStringLiteral("chinese");
    case LookupKind::Pinyin:
        return QStringLiteral("pinyin");
    case LookupKind::Jyutping:
        return QStringLiteral("jyutping");
    case LookupKind::English:
        return QStringLiteral("english");
    case LookupKind::Mixed:
        return QStringLiteral("mixed");
    case LookupKind::Hex:
        return QStringLiteral("hex");
    case LookupKind::None:
        break;
    }
    return QStringLiteral("none");
}

std::vector<LookupMatch> LookupResult::all() const {
    std::vector<LookupMatch> matches;
    QSet<QString> seen;
    const auto add = [&](const LookupMatch& match) {
        const QString key = match.word + u'\t' + match.traditional + u'\t' + match.pinyin;
        if (!seen.contains(key)) {
            seen.insert(key);
            matches.push_back(match);
        }
    };
    for (const ReadingMatches& reading : readings) {
        std::for_each(reading.matches.begin(), reading.matches.end(), add);
    }
    std::for_each(english.begin(), english.end(), add);
    return matches;
}

struct Lookup::Impl {
    const RecordStore& records;
    ReadingIndex index;

    explicit Impl(const RecordStore& store) : records(store), index(store) {}

    // The entries written text; a character without entry by its record.
    std::vector<LookupMatch> TextEntries(const QString& text) const {
        std::vector<LookupMatch> matches;
        if (index.available()) {
            for (const IndexedWord& word : index.wordsWithText(text)) {
                AddMatch(matches, MatchOf(word));
            }
        } else if (const std::optional<WordEntry> entry = records.wordEntry(text)) {
            matches.push_back({text, text, entry->pinyin, entry->jyutping, entry->english, 0});
        }
        const QList<uint> codes = text.toUcs4();
        if (matches.empty() && codes.size() == 1) {
            if (const std::optional<CharacterRecord> record = records.characterRecord(codes.front())) {
                matches.push_back({text, text, record->pinyin, record->jyutping, record->english,
                                   records.wordFrequency(text)});
            }
        }
        return matches;
    }

    ReadingMatches Readings(const RomanQuery& query, ReadingSystem system, int limit) const {
        ReadingMatches result;
        result.system = system;
        if (query.isSingleSyllable()) {
            result.syllable = query.letters();
        }
        const std::vector<ReadingKey> keys = index.keysWithLetters(system, query.letters(), kKeysRead);
        for (const Candidate& candidate : RankedCandidates(query, keys)) {
            if (int(result.matches.size()) >= limit) {
                break;
            }
            std::optional<IndexedWord> word = index.word(candidate.key->wordId);
            if (!word) {
                continue;
            }
            LookupMatch match = MatchOf(*word);
            QString& field = system == ReadingSystem::Pinyin ? match.pinyin : match.jyutping;
            field = ReadingOrMatched(field, candidate.key->reading);
            match.count = candidate.key->count;
            AddReadingMatch(result.matches, std::move(match), system);
        }
        return result;
    }

    // English matches with the forms and Jyutping of their entries.
    std::vector<LookupMatch> English(const QString& text, int limit) const {
        std::vector<LookupMatch> matches;
        for (const EnglishMatch& found : records.englishMatches(text, limit)) {
            LookupMatch match{found.word, found.word, found.pinyin, QString(), found.english, 0};
            if (const std::optional<IndexedWord> word = index.wordWithReading(found.word, found.pinyin)) {
                match.traditional = word->traditional;
                match.jyutping = word->jyutping;
            }
            matches.push_back(std::move(match));
        }
        return matches;
    }
};

Lookup::Lookup(const RecordStore& records) : impl_(std::make_unique<Impl>(records)) {}

Lookup::~Lookup() = default;

LookupResult Lookup::Find(const QString& query, int limit) const {
    LookupResult result;
    result.query = TrimQuery(query);
    const QString& text = result.query;
    if (limit <= 0 || text.isEmpty()) {
        return result;
    }
    const QueryClass queryClass = ClassifyQuery(text);
    if (queryClass == QueryClass::Chinese || queryClass == QueryClass::HexCode) {
        const bool hex = queryClass == QueryClass::HexCode;
        result.kind = hex ? LookupKind::Hex : LookupKind::Chinese;
        const QString written = hex ? CodePointText(text.toUInt(nullptr, 16)) : text;
        ReadingMatches entries;
        entries.matches = impl_->TextEntries(written);
        if (!entries.matches.empty()) {
            result.readings.push_back(std::move(entries));
        }
        return result;
    }

    const std::optional<RomanQuery> pinyin = RomanQuery::Parse(text, Scheme::Pinyin);
    const std::optional<RomanQuery> jyutping = RomanQuery::Parse(text, Scheme::Jyutping);
    const bool english = IsEnglishQuery(text);
    ReadingMatches pinyinMatches;
    if (pinyin) {
        pinyinMatches = impl_->Readings(*pinyin, ReadingSystem::Pinyin, limit);
    }
    if (english) {
        result.english = impl_->English(text, limit);
    }
    ReadingMatches jyutpingMatches;
    const bool tonelessJyutping = jyutping && jyutping->fewestSyllables() >= 2 &&
                                  (!pinyin || (pinyinMatches.matches.empty() && result.english.empty()));
    if (jyutping && (jyutping->hasTones() || tonelessJyutping)) {
        jyutpingMatches = impl_->Readings(*jyutping, ReadingSystem::Jyutping, limit);
    }

    // The system with an exact tone match leads.
    const auto leadsExactly = [&](const ReadingMatches& matches, const std::optional<RomanQuery>& parsed) {
        return !matches.matches.empty() && parsed && parsed->hasTones() &&
               parsed->fit(matches.system == ReadingSystem::Pinyin
                               ? matches.matches.front().pinyin
                               : matches.matches.front().jyutping) == ReadingFit::Exact;
    };
    const bool jyutpingFirst =
        leadsExactly(jyutpingMatches, jyutping) && !leadsExactly(pinyinMatches, pinyin);
    for (ReadingMatches* matches : jyutpingFirst ? std::array{&jyutpingMatches, &pinyinMatches}
                                                 : std::array{&pinyinMatches, &jyutpingMatches}) {
        if (!matches->matches.empty()) {
            result.readings.push_back(std::move(*matches));
        }
    }

    const int found = int(result.readings.size()) + (result.english.empty() ? 0 : 1);
    if (found > 1) {
        result.kind = LookupKind::Mixed;
    } else if (found == 1) {
        result.kind = result.english.empty()
                          ? (result.readings.front().system == ReadingSystem::Pinyin ? LookupKind::Pinyin
                                                                                     : LookupKind::Jyutping)
                          : LookupKind::English;
    } else {
        // Nothing found: the kind says how the text was read.
        result.kind = pinyin     ? LookupKind::Pinyin
                      : jyutping ? LookupKind::Jyutping
                      : english  ? LookupKind::English
                                 : LookupKind::None;
    }
    return result;
}

std::vector<Suggestion> Lookup::Suggest(const QString& text, int limit) const {
    const QString typed = TrimQuery(text);
    std::vector<Suggestion> suggestions;
    if (limit <= 0 || typed.isEmpty()) {
        return suggestions;
    }
    const ReadingIndex& index = impl_->index;
    // Choosing a suggestion searches for its word: each word once.
    QSet<QString> seen;
    if (IsIdeograph(typed.toUcs4().front())) {
        for (const IndexedWord& word : index.wordsWithTextPrefix(typed, limit * kSuggestionKeysPerResult)) {
            if (int(suggestions.size()) < limit && !seen.contains(word.simplified)) {
                seen.insert(word.simplified);
                suggestions.push_back({word.simplified, word.pinyin, FirstGloss(word.english)});
            }
        }
        return suggestions;
    }

    // Readings and English together, most common first; on equal counts
    // Pinyin, then English, then Jyutping. The systems apply as in Find.
    struct Ranked {
        qint64 count;
        Suggestion suggestion;
    };
    std::vector<Ranked> ranked;
    const auto addReadings = [&](const RomanQuery& query, ReadingSystem system) {
        const std::vector<ReadingKey> keys =
            index.keysWithLetterPrefix(system, query.letters(), limit * kSuggestionKeysPerResult);
        QSet<QString> taken;
        for (const Candidate& candidate : RankedCandidates(query, keys)) {
            if (int(taken.size()) >= limit) {
                break;
            }
            const std::optional<IndexedWord> word = index.word(candidate.key->wordId);
            if (!word || taken.contains(word->simplified)) {
                continue;
            }
            taken.insert(word->simplified);
            ranked.push_back({candidate.key->count,
                              {word->simplified, candidate.key->reading, FirstGloss(word->english), system}});
        }
        return !taken.isEmpty();
    };
    const std::optional<RomanQuery> pinyin = RomanQuery::Parse(typed, Scheme::Pinyin, true);
    const bool pinyinFound = pinyin && addReadings(*pinyin, ReadingSystem::Pinyin);
    const std::size_t readingCount = ranked.size();
    if (IsEnglishQuery(typed)) {
        for (const EnglishMatch& match : impl_->records.englishPrefixMatches(typed, limit)) {
            ranked.push_back({match.count, {match.word, match.pinyin, FirstGloss(match.english)}});
        }
    }
    const bool englishFound = ranked.size() > readingCount;
    const std::optional<RomanQuery> jyutping = RomanQuery::Parse(typed, Scheme::Jyutping, true);
    if (jyutping && (jyutping->hasTones() ||
                     (jyutping->fewestSyllables() >= 2 && (!pinyin || (!pinyinFound && !englishFound))))) {
        addReadings(*jyutping, ReadingSystem::Jyutping);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.count > b.count; });
    for (Ranked& item : ranked) {
        if (int(suggestions.size()) >= limit) {
            break;
        }
        if (!seen.contains(item.suggestion.word)) {
            seen.insert(item.suggestion.word);
            suggestions.push_back(std::move(item.suggestion));
        }
    }
    return suggestions;
}

} // namespace quillory
