#pragma once
// What the search box finds for a typed text: Chinese text by its characters,
// romanised text read as Pinyin and as Jyutping (typed any way) and as
// English, a code point by its hexadecimal digits. Shared by the result page,
// the suggestions under the search box and the command-line tool.
#include "dictionary/records/ReadingKeys.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillory {

class RecordStore;

// How a query was read: "chinese", "pinyin", "jyutping", "english", "mixed"
// (romanised text that reads as a reading and as English) or "hex".
enum class LookupKind { Chinese, Pinyin, Jyutping, English, Mixed, Hex, None };
QString LookupKindName(LookupKind kind);

// One dictionary entry found.
struct LookupMatch {
    QString word;        // simplified form
    QString traditional; // traditional form
    QString pinyin;      // tone digits, syllables separated by blanks
    QString jyutping;    // likewise
    QString english;     // glosses separated by " / "; empty for a Cantonese word without gloss
    qint64 count = 0;    // how common, on the scale of the system that matched it; 0 for English matches
};

// Entries whose reading matches a romanised query, in one reading system.
struct ReadingMatches {
    ReadingSystem system = ReadingSystem::Pinyin;
    // Exact tone matches first, then toneless ones; within each, more common
    // first, then shorter.
    std::vector<LookupMatch> matches;
    // The query's syllable without tone when it is a single syllable of this
    // system ("ma", "zung"), for the link to that syllable's page; else empty.
    QString syllable;
};

struct LookupResult {
    QString query; // trimmed
    LookupKind kind = LookupKind::None;
    // Chinese and hexadecimal queries: the entry itself. Romanised queries:
    // Pinyin matches before Jyutping matches, unless only the Jyutping
    // matches start with an exact tone match ("nei5 hou2"); each system at
    // most once, only when it matched something.
    std::vector<ReadingMatches> readings;
    std::vector<LookupMatch> english; // English matches, best first
    // Every match best first, readings before English, without repeats.
    std::vector<LookupMatch> all() const;
};

// One suggestion under the search box.
struct Suggestion {
    QString word;                                 // what choosing it searches for (simplified form)
    QString reading;                              // Pinyin with tone digits (Jyutping for a Jyutping match)
    QString gloss;                                // the first gloss, or empty
    ReadingSystem system = ReadingSystem::Pinyin; // which of the two the reading is
};

// Look-ups over one open record store, used from one thread (the store's
// statements are shared). It prepares statements of its own on the store's
// connection: destroy it before the store closes.
class Lookup {
public:
    explicit Lookup(const RecordStore& records);
    ~Lookup();
    Lookup(const Lookup&) = delete;
    Lookup& operator=(const Lookup&) = delete;

    LookupResult Find(const QString& query, int limit = 50) const;
    // Up to limit suggestions for a text being typed: Chinese text by prefix
    // of the word, romanised text by prefix of the reading's letters, English
    // by prefix of a gloss word. Most common first.
    std::vector<Suggestion> Suggest(const QString& text, int limit = 10) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quillory
