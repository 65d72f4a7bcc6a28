#include "datagen/sources/CantoneseMerge.h"

#include "datagen/sources/UnihanReader.h"

#include <QSet>
#include <algorithm>
#include <tuple>

namespace quillory::datagen {

namespace {

constexpr double kOrdinaryWeight = 100;

// Syllables without their tone digits.
QStringList Toneless(const QString& reading) {
    QStringList syllables = reading.split(u' ', Qt::SkipEmptyParts);
    for (QString& syllable : syllables) {
        while (!syllable.isEmpty() && syllable.back().isDigit()) {
            syllable.chop(1);
        }
    }
    return syllables;
}

constexpr qsizetype kLongestPinyinPiece = 8;

// A new word's Pinyin: its longest pieces (from the start) that are headwords
// of two or more characters read as the first such entry reads them, every
// other character by its first reading. Empty when a character has none.
QString WordPinyin(const SourceData& source, const QHash<QString, QString>& headwords, const QString& word) {
    const QList<uint> codes = word.toUcs4();
    QStringList syllables;
    for (qsizetype at = 0; at < codes.size();) {
        qsizetype taken = 0;
        for (qsizetype length = std::min(kLongestPinyinPiece, codes.size() - at); length >= 2 && taken == 0;
             --length) {
            QString piece;
            for (qsizetype i = at; i < at + length; ++i) {
                piece += QChar::fromUcs4(codes[i]);
            }
            const QStringList reading = headwords.value(piece).split(u' ', Qt::SkipEmptyParts);
            if (reading.size() == length) {
                syllables += reading;
                taken = length;
            }
        }
        if (taken == 0) {
            const auto it = source.characters.find(codes[at]);
            if (!IsDictionaryIdeograph(codes[at]) || it == source.characters.end() ||
                it->second.pinyin.empty()) {
                return {};
            }
            syllables.append(QString::fromStdString(it->second.pinyin.front()));
            taken = 1;
        }
        at += taken;
    }
    return syllables.join(u' ');
}

// Whether every character of the word is a dictionary ideograph with Pinyin.
bool AllCharactersKnown(const SourceData& source, const QString& word) {
    for (const uint code : word.toUcs4()) {
        const auto it = source.characters.find(code);
        if (!IsDictionaryIdeograph(code) || it == source.characters.end() || it->second.pinyin.empty()) {
            return false;
        }
    }
    return true;
}

void OrderCharacters(const RimeCantonese& rime, SourceData& source, CantoneseStats& stats) {
    for (auto& [code, character] : source.characters) {
        const auto it = rime.characters.find(code);
        if (it == rime.characters.end()) {
            continue;
        }
        const std::size_t before = character.jyutping.size();
        const std::string first = before > 0 ? character.jyutping.front() : std::string();
        character.jyutping = OrderJyutpingReadings(character.jyutping, character.cantonese, it->second);
        stats.characterReadingsAdded += int(character.jyutping.size() - before);
        if (before > 0 && character.jyutping.front() != first) {
            ++stats.charactersReordered;
        }
    }
}

void ChooseEntryReadings(const RimeCantonese& rime, SourceData& source, CantoneseStats& stats) {
    for (WordSource& word : source.words) {
        const auto readings = rime.wordReadings.constFind(word.traditional);
        if (readings == rime.wordReadings.cend()) {
            continue;
        }
        const QString chosen = ChooseWordJyutping(word.jyutping, *readings);
        if (chosen != word.jyutping) {
            ++(word.jyutping.isEmpty() ? stats.missingFilled : stats.tonesTaken);
            word.jyutping = chosen;
        }
    }
}

bool AddWords(const RimeCantonese& rime, SourceData& source, const ToSimplified& toSimplified, QString* error,
              CantoneseStats& stats) {
    QSet<QString> traditional;
    QSet<QString> simplified;
    QHash<QString, QString> headwords; // traditional form to its first entry's Pinyin
    for (const WordSource& word : source.words) {
        traditional.insert(word.traditional);
        simplified.insert(word.simplified);
        if (!headwords.contains(word.traditional)) {
            headwords.insert(word.traditional, word.pinyin);
        }
    }
    for (const QString& word : rime.words) {
        // Two characters make a word (佢哋, which the corpus splits, has no
        // count); longer entries need a count, or they are mostly phrases.
        const qsizetype length = word.toUcs4().size();
        if (length < 2 || (length > 2 && rime.counts.value(word, 0) <= 0) || traditional.contains(word) ||
            simplified.contains(word)) {
            continue;
        }
        if (!AllCharactersKnown(source, word)) {
            continue;
        }
        const QString pinyin = WordPinyin(source, headwords, word);
        const std::optional<QString> converted = toSimplified(word);
        if (!converted) {
            *error = QStringLiteral("the simplified form of %1 could not be made").arg(word);
            return false;
        }
        if (converted->isEmpty() || simplified.contains(*converted)) {
            continue;
        }
        source.words.push_back(
            {word, *converted, pinyin, rime.wordReadings.value(word).join(QStringLiteral(" / ")), QString()});
        ++stats.wordsAdded;
    }
    return true;
}

} // namespace

std::vector<std::string> OrderJyutpingReadings(const std::vector<std::string>& readings,
                                               const std::string& cantonese,
                                               const std::vector<RimeReading>& rime) {
    enum Tier { kCantoneseTier, kWeighted, kUnlisted, kZero };
    struct Ranked {
        std::string reading;
        Tier tier = kUnlisted;
        double weight = 0;
        std::size_t order = 0;
    };
    std::vector<std::string> all = readings;
    for (const RimeReading& reading : rime) {
        AppendUnique(all, reading.jyutping.toStdString());
    }
    const auto weightOf = [&rime](const std::string& reading) -> std::optional<double> {
        for (const RimeReading& listed : rime) {
            if (listed.jyutping.toStdString() == reading) {
                return listed.weight == kNoRimeWeight ? kOrdinaryWeight : listed.weight;
            }
        }
        return std::nullopt;
    };
    const bool someNotZero = std::any_of(all.begin(), all.end(), [&](const std::string& reading) {
        const std::optional<double> weight = weightOf(reading);
        return !weight || *weight > 0;
    });

    std::vector<Ranked> ranked;
    for (std::size_t order = 0; order < all.size(); ++order) {
        Ranked item{all[order], kUnlisted, 0, order};
        const std::optional<double> weight = weightOf(item.reading);
        const bool zero = weight && *weight <= 0;
        if (item.reading == cantonese) {
            item.tier = zero && someNotZero ? kZero : kCantoneseTier;
            item.order = 0;
        } else if (zero) {
            item.tier = kZero;
            item.order = order + 1;
        } else if (weight) {
            item.tier = kWeighted;
            item.weight = *weight;
        }
        ranked.push_back(std::move(item));
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return std::tuple(a.tier, -a.weight, a.order) < std::tuple(b.tier, -b.weight, b.order);
    });
    std::vector<std::string> ordered;
    ordered.reserve(ranked.size());
    for (Ranked& item : ranked) {
        ordered.push_back(std::move(item.reading));
    }
    return ordered;
}

QString ChooseWordJyutping(const QString& annotated, const QStringList& rime) {
    if (rime.isEmpty() || rime.contains(annotated)) {
        return annotated;
    }
    if (annotated.trimmed().isEmpty()) {
        return rime.join(QStringLiteral(" / "));
    }
    const QStringList syllables = Toneless(annotated);
    for (const QString& reading : rime) {
        if (Toneless(reading) == syllables) {
            return reading;
        }
    }
    return annotated;
}

bool MergeCantonese(RimeCantonese rime, SourceData& source, const ToSimplified& toSimplified, QString* error,
                    CantoneseStats* stats) {
    CantoneseStats counted;
    OrderCharacters(rime, source, counted);
    ChooseEntryReadings(rime, source, counted);
    if (!AddWords(rime, source, toSimplified, error, counted)) {
        return false;
    }
    source.cantoneseCounts = std::move(rime.counts);
    if (stats) {
        *stats = counted;
    }
    return true;
}

} // namespace quillory::datagen
