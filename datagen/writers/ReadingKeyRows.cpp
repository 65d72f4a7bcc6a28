#include "datagen/writers/ReadingKeyRows.h"

namespace quillory::datagen {

QStringList SplitReadingAlternatives(const QString& field) {
    QStringList readings;
    for (const QString& alternative : field.split(u'/')) {
        const QString reading = alternative.simplified().toLower();
        if (!reading.isEmpty() && !readings.contains(reading)) {
            readings.append(reading);
        }
    }
    return readings;
}

qint64 CantoneseCount(const SourceData& source, const WordSource& word) {
    const auto traditional = source.cantoneseCounts.constFind(word.traditional);
    if (traditional != source.cantoneseCounts.cend()) {
        return *traditional;
    }
    return source.cantoneseCounts.value(word.simplified, 0);
}

namespace {

// A character's count is the count of all its readings together. A reading
// takes its share by Unihan's reading counts where Unihan has them; else the
// main reading (listed first) takes it all and every other reading a
// hundredth, so that 见 read xian4 does not outrank 先 and 现 for "xian".
qint64 ReadingShare(qint64 count, const std::vector<std::string>& readings,
                    const std::map<std::string, int>& uses, const QString& reading) {
    const std::string key = reading.toStdString();
    if (!uses.empty()) {
        qint64 total = 0;
        for (const auto& [name, uses_] : uses)
            total += uses_;
        const auto found = uses.find(key);
        return found == uses.end() || total == 0 ? 0 : count * found->second / total;
    }
    return !readings.empty() && readings.front() == key ? count : count / 100;
}

const CharacterSource* SingleCharacter(const SourceData& source, const QString& text) {
    const QList<uint> codes = text.toUcs4();
    if (codes.size() != 1)
        return nullptr;
    const auto found = source.characters.find(codes.front());
    return found == source.characters.end() ? nullptr : &found->second;
}

} // namespace

std::vector<ReadingKeyRow> BuildReadingKeyRows(const SourceData& source) {
    std::vector<ReadingKeyRow> rows;
    rows.reserve(source.words.size() * 2);
    static const std::map<std::string, int> kNoUses;
    const auto add = [&rows](qint64 id, ReadingSystem system, const QString& field, qint64 count,
                             const CharacterSource* character) {
        for (const QString& reading : SplitReadingAlternatives(field)) {
            QString letters = ReadingLetters(reading);
            if (letters.isEmpty()) {
                continue;
            }
            qint64 share = count;
            if (character != nullptr && system == ReadingSystem::Pinyin) {
                share = ReadingShare(count, character->pinyin, character->pinyinUses, reading);
            } else if (character != nullptr) {
                share = ReadingShare(count, character->jyutping, kNoUses, reading);
            }
            rows.push_back({id, system, std::move(letters), reading, share});
        }
    };
    qint64 id = 0;
    for (const WordSource& word : source.words) {
        ++id;
        const CharacterSource* character = SingleCharacter(source, word.simplified);
        add(id, ReadingSystem::Pinyin, word.pinyin, source.wordCounts.value(word.simplified, 0), character);
        add(id, ReadingSystem::Jyutping, word.jyutping, CantoneseCount(source, word),
            SingleCharacter(source, word.traditional));
    }
    return rows;
}

} // namespace quillory::datagen
