#include "tools/convert/ReadingLexicon.h"

#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

// Headwords longer than this (in UTF-16 units) are left out of segmenting.
constexpr qsizetype kMaxWordLength = 24;

// An entry that only points elsewhere: a surname, a variant form, a
// cross-reference. Its reading is taken only when a word has no other.
bool IsSecondaryEntry(QStringView english) {
    const qsizetype end = english.indexOf(u" / ");
    const QStringView first = end < 0 ? english : english.first(end);
    return first.startsWith(u"surname", Qt::CaseInsensitive) ||
           first.startsWith(u"see ", Qt::CaseInsensitive) ||
           first.startsWith(u"used in ", Qt::CaseInsensitive) ||
           first.contains(u"variant of", Qt::CaseInsensitive);
}

QString FirstReading(const QString& readings) {
    return readings.section(u' ', 0, 0, QString::SectionSkipEmpty);
}

qsizetype CodePointCount(QStringView text) {
    qsizetype count = 0;
    for (const QChar c : text) {
        count += c.isLowSurrogate() ? 0 : 1;
    }
    return count;
}

// How good an entry's reading is for its headword: 2 a main entry with one
// syllable per character, 1 any other entry, 0 none yet.
int ReadingQuality(const WordReading& word, const QString& form) {
    const qsizetype syllables = word.pinyin.trimmed().count(u' ') + 1;
    return !IsSecondaryEntry(word.english) && syllables == CodePointCount(form) ? 2 : 1;
}

struct PendingWord {
    qint64 count = 0;
    int reading[2] = {-1, -1}; // simplified, traditional
    int quality[2] = {0, 0};
};

} // namespace

void ReadingLexicon::Build(const std::vector<WordReading>& words,
                           const std::vector<CharacterReading>& characters) {
    QHash<QString, PendingWord> pending;
    pending.reserve(qsizetype(words.size() * 2 + characters.size()));
    readings_.clear();
    const auto offer = [&](const QString& form, int slot, int reading, int quality, qint64 count) {
        PendingWord& word = pending[form];
        word.count = std::max(word.count, count);
        if (quality > word.quality[slot]) {
            word.quality[slot] = quality;
            word.reading[slot] = reading;
        }
    };
    for (const WordReading& word : words) {
        if (word.simplified.isEmpty() || word.simplified.size() > kMaxWordLength ||
            word.traditional.size() > kMaxWordLength) {
            continue;
        }
        const int reading = int(readings_.size());
        readings_.push_back({word.pinyin, word.jyutping});
        offer(word.simplified, 0, reading, ReadingQuality(word, word.simplified), word.count);
        offer(word.traditional, 1, reading, ReadingQuality(word, word.traditional), word.count);
    }
    // A character alone reads its most common reading in either script.
    constexpr int kCharacterQuality = 3;
    for (const CharacterReading& character : characters) {
        const char32_t code = character.code;
        const QString form = QString::fromUcs4(&code, 1);
        const QString pinyin = FirstReading(character.pinyin);
        const QString jyutping = FirstReading(character.jyutping);
        if (pinyin.isEmpty() && jyutping.isEmpty()) {
            continue;
        }
        const int reading = int(readings_.size());
        readings_.push_back({pinyin, jyutping});
        offer(form, 0, reading, kCharacterQuality, character.count);
        offer(form, 1, reading, kCharacterQuality, character.count);
    }

    double total = 0;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        total += double(it.value().count);
    }
    const double logTotal = std::log(std::max(total, 1.0));
    unknownLogProbability_ = -logTotal;

    keys_.clear();
    keys_.reserve(std::size_t(pending.size()));
    words_.clear();
    words_.reserve(pending.size());
    std::fill(maxLengths_.begin(), maxLengths_.end(), 0);
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        const PendingWord& word = it.value();
        keys_.push_back(it.key());
        const QString& key = keys_.back();
        Entry entry;
        entry.logProbability = float(std::log(double(std::max<qint64>(word.count, 1))) - logTotal);
        entry.simplifiedReading = word.reading[0];
        entry.traditionalReading = word.reading[1];
        words_.insert(QStringView(key), entry);
        quint8& longest = maxLengths_[key.front().unicode()];
        longest = std::max<quint8>(longest, quint8(key.size()));
    }
}

bool ReadingLexicon::Load(const RecordStore& store) {
    const std::vector<CharacterReading> characters = store.characterReadings();
    if (characters.empty()) {
        return false;
    }
    Build(store.wordReadings(), characters);
    return true;
}

std::optional<ReadingLexicon::Match> ReadingLexicon::find(QStringView text, Scheme scheme,
                                                          bool traditional) const {
    const auto it = words_.constFind(text);
    if (it == words_.cend()) {
        return std::nullopt;
    }
    const Entry& entry = it.value();
    int reading = traditional ? entry.traditionalReading : entry.simplifiedReading;
    if (reading < 0) {
        reading = traditional ? entry.simplifiedReading : entry.traditionalReading;
    }
    const QString& syllables = readings_[std::size_t(reading)][scheme == Scheme::Pinyin ? 0 : 1];
    if (syllables.isEmpty()) {
        return std::nullopt;
    }
    return Match{entry.logProbability, &syllables};
}

} // namespace quillory
