#include "dictionary/records/EnglishSearch.h"

#include "dictionary/records/EnglishGloss.h"
#include "dictionary/records/StoreChecks.h"
#include "dictionary/text/DataFaults.h"

#include <QStringList>
#include <algorithm>
#include <tuple>
#include <unordered_set>

namespace quillory {

// An entry found for a query, with what ranks it.
struct EnglishCandidate {
    sqlite3_int64 id = 0;
    EnglishMatch match;
    bool isCharacter = false;
    int position = -1;      // the first matching gloss's place, -1 for none
    int wholePosition = -1; // likewise for a gloss matched by whole words
    int tier = 0;           // how the entry matches; lower is better
    bool rare = false;
    qint64 count = 0;  // the word's count (0 for a character's lesser reading)
    double weight = 0; // within a tier, higher is better
};

namespace {

// At most this many query words go into the full-text query; a longer query
// still has to match them all, and no pasted page can blow up the query.
constexpr qsizetype kMaxQueryWords = 32;

// How many entries of a group are ranked at most. Whole-gloss groups are
// small (the largest, "Taiwan pr", has some 500 entries); the others are cut
// in the store's order (entry ids follow the characters' frequency grades),
// which bounds the work for words held by thousands of glosses ("a", "to").
constexpr int kWholeGlossCandidates = 1000;
constexpr int kGlossStartCandidates = 300;
constexpr int kFullTextCandidates = 1000;
// Suggestions rank the entries of at most this many glosses starting with the
// typed text (for a short prefix that starts more, the first ones in
// alphabetical order), and, when those are few, of this many entries with a
// word starting with it.
constexpr int kPrefixGlossRows = 600;
constexpr int kPrefixCandidates = 200;

// A single character without a Unihan frequency grade whose count stays below
// this is rare: it ranks after every entry that is not (see Weigh).
constexpr qint64 kRareCharacterCount = 1000;
// A suggestion whose gloss holds the typed words as whole words weighs its
// count this many times.
constexpr double kWholeWordWeight = 2;

// Every candidate query gives: id, word, pinyin, English, whether the entry
// is a character's own meaning, the place of the first matching gloss among
// the entry's glosses and that of the first gloss matched by whole words
// (both -1 for none), and the word's length, in the group's order of the
// characters' frequency grades.

// Entries with a normalised gloss equal to ?1.
constexpr const char* kWholeGlossSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character, g.position, g.position AS whole, e.length "
    "FROM (SELECT entry, MIN(position) AS position FROM english_glosses "
    "      WHERE gloss = ?1 GROUP BY entry) AS g "
    "JOIN english_entries AS e ON e.id = g.entry "
    "ORDER BY e.commonness + g.position, e.gloss_count, e.length, e.id LIMIT ?2";

// The ?3 most common entries with a normalised gloss in [?1, ?2).
constexpr const char* kGlossRangeSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character, g.position, g.position AS whole, e.length "
    "FROM (SELECT entry, MIN(position) AS position FROM english_glosses "
    "      WHERE gloss >= ?1 AND gloss < ?2 GROUP BY entry ORDER BY entry LIMIT ?3) AS g "
    "JOIN english_entries AS e ON e.id = g.entry "
    "ORDER BY e.commonness + g.position, e.gloss_count, e.length, e.id";

// The ?2 most common entries holding the words of ?1, by text rank.
constexpr const char* kFullTextSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character, -1 AS position, -1 AS whole, e.length "
    "FROM (SELECT rowid, rank FROM english_fts WHERE english_fts MATCH ?1 LIMIT ?2) AS f "
    "JOIN english_entries AS e ON e.id = f.rowid "
    "ORDER BY f.rank, e.commonness, e.gloss_count, e.length, e.id LIMIT ?3";

// Entries of the first ?5 glosses in [?1, ?2): glosses starting with the typed
// text ?1; those equal to it or in [?3, ?4) match it by whole words.
constexpr const char* kGlossPrefixSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character, g.position, IFNULL(g.whole, -1) AS whole, "
    "       e.length "
    "FROM (SELECT entry, MIN(position) AS position, "
    "             MIN(CASE WHEN gloss = ?1 OR (gloss >= ?3 AND gloss < ?4) THEN position END) AS whole "
    "      FROM (SELECT gloss, entry, position FROM english_glosses "
    "            WHERE gloss >= ?1 AND gloss < ?2 LIMIT ?5) "
    "      GROUP BY entry) AS g "
    "JOIN english_entries AS e ON e.id = g.entry "
    "ORDER BY g.whole IS NULL, e.commonness + g.position, e.gloss_count, e.length, e.id LIMIT ?6";

// The ?2 most common entries matching the full-text prefix query ?1.
constexpr const char* kWordPrefixSql =
    "SELECT e.id, e.word, e.pinyin, e.english, e.is_character, -1 AS position, -1 AS whole, e.length "
    "FROM english_entries AS e WHERE e.id IN "
    "(SELECT rowid FROM english_fts WHERE english_fts MATCH ?1 ORDER BY rowid LIMIT ?2) ORDER BY e.id LIMIT "
    "?2";

// A candidate query (%1) with what weighs each row: the word's count (%2,
// from the join %3), and for a single character its frequency grade, whether
// the store knows it, its main reading first among its readings, and its
// simplified forms. The candidate query's limit keeps the look-ups few, and
// its rows drive the left joins, so they come in its order.
constexpr const char* kWeighedSql =
    "SELECT c.id, c.word, c.pinyin, c.english, c.is_character, c.position, c.whole, %2, "
    "       IFNULL(h.frequency, 0), h.code IS NOT NULL, IFNULL(h.pinyin, ''), IFNULL(h.jianti, '') "
    "FROM (%1) AS c %3 "
    "LEFT JOIN characters AS h ON c.length = 1 AND h.code = unicode(c.word)";
constexpr const char* kCountColumn = "IFNULL(f.count, 0)";
constexpr const char* kCountJoin = "LEFT JOIN word_frequencies AS f ON f.word = c.word";

// Above every valid UTF-8 byte sequence: text starting with t lies in
// [t, t + kAfterText).
constexpr char kAfterText[] = "\xF4\x90";

// Every query word quoted as a phrase: words hold only letters, digits and
// marks, so no query text can reach the full-text syntax.
QString FullTextQuery(const QString& query) {
    QStringList words = EnglishWords(query);
    if (words.size() > kMaxQueryWords) {
        words.resize(kMaxQueryWords);
    }
    for (QString& word : words) {
        word = u'"' + word + u'"';
    }
    return words.join(u' ');
}

// How much a match in the gloss at that place weighs the entry's count: all
// of it in the first gloss, half in a later gloss of the main sense (the
// English up to the first "/"; ";" separates near-synonyms within a sense),
// and half again for each later sense.
double GlossWeight(QStringView english, int position) {
    if (position <= 0) {
        return 1;
    }
    // Glosses are counted as SplitGlosses cuts them: blank ones do not count.
    int sense = 0;
    int glosses = 0;
    bool filled = false;
    for (const QChar c : english) {
        if (c == u'/' || c == u';') {
            glosses += filled ? 1 : 0;
            filled = false;
            if (glosses > position) {
                break;
            }
            sense += c == u'/' ? 1 : 0;
        } else if (!c.isSpace()) {
            filled = true;
        }
    }
    return 1.0 / double(1 << std::min(sense + 1, 30));
}

// Rare characters last; then by tier, then by weight; ties keep the
// statement's order.
void Rank(std::vector<EnglishCandidate>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const EnglishCandidate& a, const EnglishCandidate& b) {
                         return std::tuple(a.rare, a.tier, -a.weight) < std::tuple(b.rare, b.tier, -b.weight);
                     });
}

// Collects matches best first. A character matched through its own meaning
// and a dictionary entry of the same text are one result: the dictionary
// entry (which carries a single reading) wins, in the better place.
class MatchCollector {
public:
    explicit MatchCollector(int limit) : limit_(std::size_t(limit)) {}

    bool full() const { return matches_.size() >= limit_; }
    std::size_t seenCount() const { return seen_.size(); }

    void add(std::vector<EnglishCandidate>& candidates) {
        for (EnglishCandidate& candidate : candidates) {
            add(candidate.id, std::move(candidate.match), candidate.isCharacter);
        }
    }

    std::vector<EnglishMatch> take() { return std::move(matches_); }

private:
    void add(sqlite3_int64 id, EnglishMatch match, bool isCharacter) {
        if (full() || !seen_.insert(id).second) {
            return;
        }
        for (std::size_t i = 0; i < matches_.size(); ++i) {
            if (matches_[i].word != match.word) {
                continue;
            }
            if (isCharacter && !characters_[i]) {
                return;
            }
            if (!isCharacter && characters_[i]) {
                matches_[i] = std::move(match);
                characters_[i] = false;
                return;
            }
        }
        matches_.push_back(std::move(match));
        characters_.push_back(isCharacter);
    }

    std::size_t limit_;
    std::unordered_set<sqlite3_int64> seen_;
    std::vector<EnglishMatch> matches_;
    std::vector<bool> characters_;
};

} // namespace

bool EnglishSearch::Prepare(sqlite3* db, bool hasFrequencies) {
    const auto prepare = [&](SqliteStatement& statement, const char* candidates) {
        const QString sql =
            QString::fromLatin1(kWeighedSql)
                .arg(QLatin1String(candidates), QLatin1String(hasFrequencies ? kCountColumn : "0"),
                     QLatin1String(hasFrequencies ? kCountJoin : ""));
        return statement.Prepare(db, sql.toUtf8().constData());
    };
    return prepare(wholeGloss_, kWholeGlossSql) && prepare(glossRange_, kGlossRangeSql) &&
           prepare(fullText_, kFullTextSql) && prepare(glossPrefix_, kGlossPrefixSql) &&
           prepare(wordPrefix_, kWordPrefixSql);
}

std::vector<EnglishCandidate> EnglishSearch::Read(const SqliteStatement& statement,
                                                  DataFaults* faults) const {
    std::vector<EnglishCandidate> candidates;
    while (StepRow(statement, faults)) {
        EnglishCandidate candidate;
        candidate.id = statement.integer(0);
        candidate.match = {statement.text(1), statement.text(2), statement.text(3)};
        candidate.isCharacter = statement.integer(4) != 0;
        candidate.position = int(statement.integer(5));
        candidate.wholePosition = int(statement.integer(6));
        candidate.count = statement.integer(7);
        Weigh(candidate, statement);
        candidate.match.count = candidate.rare ? 0 : candidate.count;
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

void EnglishSearch::Weigh(EnglishCandidate& candidate, const SqliteStatement& row) {
    if (row.integer(9) == 0) {
        // Not a single character the store knows: a word, or a character
        // outside the character table, which no Unihan grade covers.
        const QString& word = candidate.match.word;
        const bool single = word.size() == 1 || (word.size() == 2 && word.front().isHighSurrogate());
        candidate.rare = single && (candidate.count < kRareCharacterCount || candidate.isCharacter);
        return;
    }
    // A character's count is that of its text, mostly of its main reading
    // (的 as de5 holds nearly all of it, as di4 "target" next to none): a
    // dictionary entry of another reading does not take it. Nor does the
    // meaning of a traditional or variant form (賣, 昰), whose count is its
    // simplified form's: that form is listed in its own right.
    const QString mainReading = row.text(10).section(u' ', 0, 0, QString::SectionSkipEmpty);
    const bool otherReading = !candidate.isCharacter &&
                              candidate.match.pinyin.trimmed().compare(mainReading, Qt::CaseInsensitive) != 0;
    const bool simplifiedElsewhere = candidate.isCharacter && !row.text(11).isEmpty();
    if (otherReading || simplifiedElsewhere) {
        candidate.count = 0;
    }
    // An ungraded character's own meaning counts as rare whatever its count:
    // that is a variant's (喫, 説) when the dictionary lists it as one.
    const bool ungraded = row.integer(8) == 0;
    candidate.rare = ungraded && (candidate.count < kRareCharacterCount || candidate.isCharacter);
}

std::vector<EnglishMatch> EnglishSearch::matches(const QString& query, int limit, DataFaults* faults) const {
    const QString normalised = NormaliseGloss(query);
    if (limit <= 0 || normalised.isEmpty()) {
        return {};
    }
    MatchCollector collector(limit);
    // Entries matching through a gloss, by count, weighed by where the gloss
    // lies in the entry.
    const auto addByGloss = [&](const SqliteStatement& statement) {
        std::vector<EnglishCandidate> candidates = Read(statement, faults);
        for (EnglishCandidate& candidate : candidates) {
            candidate.weight =
                double(candidate.count) * GlossWeight(candidate.match.english, candidate.position);
        }
        Rank(candidates);
        collector.add(candidates);
    };

    {
        const StatementReset reset(wholeGloss_);
        wholeGloss_.Bind(1, normalised);
        wholeGloss_.Bind(2, sqlite3_int64(kWholeGlossCandidates));
        addByGloss(wholeGloss_);
    }
    // Glosses starting with the query's words: normalised glosses hold single
    // blanks between words, so they lie in [query + " ", query + "!").
    if (!collector.full()) {
        const StatementReset reset(glossRange_);
        glossRange_.Bind(1, normalised + u' ');
        glossRange_.Bind(2, normalised + u'!');
        glossRange_.Bind(3, sqlite3_int64(kGlossStartCandidates + collector.seenCount()));
        addByGloss(glossRange_);
    }
    if (collector.full()) {
        return collector.take();
    }
    // Any entry holding the query's words, by text rank, rare characters
    // last among the rows that can still be shown.
    const StatementReset reset(fullText_);
    fullText_.Bind(1, FullTextQuery(query));
    fullText_.Bind(2, sqlite3_int64(kFullTextCandidates));
    fullText_.Bind(3, sqlite3_int64(limit + collector.seenCount()));
    std::vector<EnglishCandidate> candidates = Read(fullText_, faults);
    Rank(candidates);
    collector.add(candidates);
    return collector.take();
}

std::vector<EnglishMatch> EnglishSearch::prefixMatches(const QString& prefix, int limit,
                                                       DataFaults* faults) const {
    const QString normalised = NormaliseGloss(prefix);
    if (limit <= 0 || normalised.isEmpty()) {
        return {};
    }
    std::vector<EnglishCandidate> candidates;
    {
        const StatementReset reset(glossPrefix_);
        glossPrefix_.Bind(1, normalised);
        glossPrefix_.Bind(2, normalised.toUtf8() + kAfterText);
        glossPrefix_.Bind(3, normalised + u' ');
        glossPrefix_.Bind(4, normalised + u'!');
        glossPrefix_.Bind(5, sqlite3_int64(kPrefixGlossRows));
        glossPrefix_.Bind(6, sqlite3_int64(kPrefixCandidates));
        candidates = Read(glossPrefix_, faults);
    }
    // Entries with a gloss starting with the typed text, by count weighed by
    // where that gloss lies in the entry, and doubled when the typed words
    // are whole words of the gloss (the typed "bank" is "bank", not
    // "bankrupt", once the word is complete).
    for (EnglishCandidate& candidate : candidates) {
        const bool whole = candidate.wholePosition >= 0;
        candidate.weight =
            double(candidate.count) * (whole ? kWholeWordWeight : 1) *
            GlossWeight(candidate.match.english, whole ? candidate.wholePosition : candidate.position);
    }
    // Few glosses start so ("apple tr"): entries with a word starting with
    // the last typed word and holding the earlier ones.
    QString fullText = FullTextQuery(prefix);
    if (candidates.size() < std::size_t(limit) * 2 && !fullText.isEmpty()) {
        std::unordered_set<sqlite3_int64> known;
        for (const EnglishCandidate& candidate : candidates) {
            known.insert(candidate.id);
        }
        const StatementReset reset(wordPrefix_);
        wordPrefix_.Bind(1, fullText + u'*');
        wordPrefix_.Bind(2, sqlite3_int64(kPrefixCandidates));
        for (EnglishCandidate& candidate : Read(wordPrefix_, faults)) {
            if (known.count(candidate.id) == 0) {
                candidate.weight = double(candidate.count);
                candidate.tier = 1;
                candidates.push_back(std::move(candidate));
            }
        }
    }
    Rank(candidates);
    MatchCollector collector(limit);
    collector.add(candidates);
    return collector.take();
}

} // namespace quillory
