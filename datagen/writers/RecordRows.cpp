#include "datagen/writers/RecordRows.h"

#include "dictionary/text/Romanisation.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <tuple>
#include <unordered_map>

namespace quillory::datagen {

namespace {

constexpr std::size_t kMaxExampleWords = 8;

QString JoinBlankSeparated(const std::vector<std::string>& items) {
    QStringList parts;
    parts.reserve(qsizetype(items.size()));
    for (const std::string& item : items) {
        parts.append(QString::fromStdString(item));
    }
    return parts.join(u' ');
}

QString RadicalFormsText(const SourceData& source, const QString& radical) {
    const qsizetype dot = radical.indexOf(u'.');
    if (dot <= 0) {
        return {};
    }
    const auto it = source.radicalForms.find(radical.left(dot));
    return it == source.radicalForms.end() ? QString() : HexCodeList(it->second);
}

// A word that holds a character, as a candidate for the character's examples.
struct ExampleCandidate {
    int commonness = 0;
    qsizetype length = 0;
    std::size_t wordIndex = 0;
    bool traditionalForm = false;

    auto key() const { return std::tie(commonness, length, wordIndex); }
};

struct CharacterUsage {
    int wordCount = 0;
    std::vector<ExampleCandidate> examples;
};

using UsageMap = std::unordered_map<std::uint32_t, CharacterUsage>;

UsageMap CollectUsage(const SourceData& source, const FrequencyGrades& grades) {
    UsageMap usage;
    usage.reserve(source.characters.size());
    for (const auto& [code, character] : source.characters) {
        usage.emplace(code, CharacterUsage{});
    }
    std::vector<std::uint32_t> codes;
    for (std::size_t i = 0; i < source.words.size(); ++i) {
        const WordSource& word = source.words[i];
        const QList<uint> simplified = word.simplified.toUcs4();
        const QList<uint> traditional = word.traditional.toUcs4();
        codes.assign(simplified.begin(), simplified.end());
        codes.insert(codes.end(), traditional.begin(), traditional.end());
        std::sort(codes.begin(), codes.end());
        codes.erase(std::unique(codes.begin(), codes.end()), codes.end());

        const int commonness = grades.commonness(word.simplified);
        for (const std::uint32_t code : codes) {
            const auto it = usage.find(code);
            if (it == usage.end()) {
                continue;
            }
            ++it->second.wordCount;
            if (simplified.size() >= 2) {
                const bool inSimplified = simplified.contains(code);
                it->second.examples.push_back({commonness, simplified.size(), i, !inSimplified});
            }
        }
    }
    return usage;
}

QString ExampleWordsText(const SourceData& source, std::vector<ExampleCandidate>& candidates) {
    std::sort(candidates.begin(), candidates.end(),
              [](const ExampleCandidate& a, const ExampleCandidate& b) { return a.key() < b.key(); });
    QStringList chosen;
    for (const ExampleCandidate& candidate : candidates) {
        const WordSource& word = source.words[candidate.wordIndex];
        const QString& form = candidate.traditionalForm ? word.traditional : word.simplified;
        if (!chosen.contains(form)) {
            chosen.append(form);
        }
        if (std::size_t(chosen.size()) == kMaxExampleWords) {
            break;
        }
    }
    return chosen.join(u' ');
}

} // namespace

FrequencyGrades::FrequencyGrades(const SourceData& source) {
    const auto ownGrade = [&](std::uint32_t code) {
        const auto it = source.characters.find(code);
        return it != source.characters.end() && it->second.frequency > 0 ? it->second.frequency
                                                                         : kUngradedFrequency;
    };
    grades_.reserve(source.characters.size());
    for (const auto& [code, character] : source.characters) {
        int best = ownGrade(code);
        for (const auto* variants : {&character.simplified, &character.traditional}) {
            for (const std::uint32_t variant : *variants) {
                best = std::min(best, ownGrade(variant));
            }
        }
        grades_.emplace(code, best);
    }
}

int FrequencyGrades::grade(std::uint32_t code) const {
    const auto it = grades_.find(code);
    return it == grades_.end() ? kUngradedFrequency : it->second;
}

int FrequencyGrades::commonness(const QString& text) const {
    int sum = 0;
    for (const uint code : text.toUcs4()) {
        sum += grade(code);
    }
    return sum;
}

QString EnglishFromDefinition(const QString& definition) {
    QStringList senses;
    for (const QString& sense : definition.split(u';')) {
        const QString trimmed = sense.trimmed();
        if (!trimmed.isEmpty()) {
            senses.append(trimmed);
        }
    }
    return senses.join(QStringLiteral(" / "));
}

QString HexCodeList(const std::vector<std::uint32_t>& codes) {
    QStringList parts;
    parts.reserve(qsizetype(codes.size()));
    for (const std::uint32_t code : codes) {
        parts.append(QString::number(code, 16).toUpper());
    }
    return parts.join(u' ');
}

std::map<QByteArray, qint64> BuildWordFrequencies(const SourceData& source) {
    // A form that the dictionary also writes as simplified (瞭 liao4) keeps
    // its own count: only forms that are traditional and nothing else take
    // their simplified form's count (瞭 is not 了).
    QSet<QString> simplifiedForms;
    for (const WordSource& word : source.words) {
        simplifiedForms.insert(word.simplified);
    }
    std::map<QByteArray, qint64> counts;
    const auto raise = [&counts](const QString& form, qint64 count) {
        qint64& stored = counts[form.toUtf8()];
        stored = std::max(stored, count);
    };
    for (const WordSource& word : source.words) {
        const qint64 count = source.wordCounts.value(word.simplified, 0);
        raise(word.simplified, count);
        raise(word.traditional, simplifiedForms.contains(word.traditional)
                                    ? source.wordCounts.value(word.traditional, 0)
                                    : count);
    }
    for (const auto& [code, character] : source.characters) {
        const char32_t own = code;
        const QString text = QString::fromUcs4(&own, 1);
        qint64 count = source.wordCounts.value(text, 0);
        if (!simplifiedForms.contains(text)) {
            for (const std::uint32_t simplified : character.simplified) {
                const char32_t variant = simplified;
                count = std::max(count, source.wordCounts.value(QString::fromUcs4(&variant, 1), 0));
            }
        }
        raise(text, count);
    }
    return counts;
}

std::vector<CharacterRow> BuildCharacterRows(const SourceData& source, const FrequencyGrades& grades) {
    UsageMap usage = CollectUsage(source, grades);
    std::vector<CharacterRow> rows;
    rows.reserve(source.characters.size());
    for (const auto& [code, character] : source.characters) {
        CharacterRow row;
        row.code = code;
        row.pinyin = JoinBlankSeparated(character.pinyin);
        row.jyutping = JoinBlankSeparated(character.jyutping);
        row.strokes = character.strokes;
        row.radical = character.radical;
        row.frequency = character.frequency;
        row.english2 = character.cedictEnglish;
        row.fanti = HexCodeList(character.traditional);
        row.jianti = HexCodeList(character.simplified);
        row.pinyinMarks = MarkPinyinUnicode(row.pinyin);
        row.english = EnglishFromDefinition(character.definition);
        row.hasDefinition = !row.english.isEmpty();
        if (!row.hasDefinition) {
            row.english = character.cedictEnglish;
        }
        row.radicalForms = RadicalFormsText(source, character.radical);
        CharacterUsage& used = usage[code];
        row.wordCount = used.wordCount;
        row.exampleWords = ExampleWordsText(source, used.examples);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace quillory::datagen
