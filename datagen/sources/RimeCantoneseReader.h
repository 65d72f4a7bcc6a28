#pragma once
// Reads the Cantonese tables of rime-cantonese: words with their Jyutping,
// character readings with their weights, and word counts of Cantonese text.
// The dictionary tables open with a YAML header ending in a line "...";
// entry lines hold tab-separated fields; lines starting with "#" are comments.
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace quillory::datagen {

inline constexpr char kRimeWordsFile[] = "jyut6ping3.words.dict.yaml";
inline constexpr char kRimeCharactersFile[] = "jyut6ping3.chars.dict.yaml";
inline constexpr char kCantoneseCountsFile[] = "essay-cantonese.txt";

// A character reading; weight in percent, or kNoRimeWeight when the line
// gives none (the character's ordinary reading).
inline constexpr double kNoRimeWeight = -1;
struct RimeReading {
    QString jyutping;
    double weight = kNoRimeWeight;
};

struct RimeCantonese {
    QStringList words;                        // traditional words, distinct, in file order
    QHash<QString, QStringList> wordReadings; // word to its readings, in file order
    // Character readings of one syllable, distinct, in file order.
    std::map<std::uint32_t, std::vector<RimeReading>> characters;
    QHash<QString, qint64> counts; // word to its count in Cantonese text
};

struct RimeStats {
    int wordLines = 0;
    int characterLines = 0;
    int countLines = 0;
    int skippedLines = 0; // malformed entry lines of all three files
};

// Calls add with the fields of every entry line of a table; add returns
// false for a malformed line, which is counted in *skipped. Fails when the
// file cannot be read or, with hasHeader, has no "..." line.
bool ReadRimeTable(const QString& path, bool hasHeader, const std::function<bool(const QStringList&)>& add,
                   int* skipped, QString* error);

// True for blank-separated Jyutping syllables with tone digits ("m4 goi1").
bool IsJyutpingText(const QString& text);

bool ReadRimeWords(const QString& path, RimeCantonese& rime, QString* error, RimeStats* stats);
bool ReadRimeCharacters(const QString& path, RimeCantonese& rime, QString* error, RimeStats* stats);
bool ReadCantoneseCounts(const QString& path, RimeCantonese& rime, QString* error, RimeStats* stats);

// All three tables from the rime data folder.
bool ReadRimeCantonese(const QString& dir, RimeCantonese& rime, QString* error, RimeStats* stats = nullptr);

} // namespace quillory::datagen
