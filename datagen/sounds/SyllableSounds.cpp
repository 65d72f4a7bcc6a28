#include "datagen/sounds/SyllableSounds.h"

#include "datagen/sounds/SoundFileWriter.h"

#include <QFileInfo>
#include <set>

namespace quillory::datagen {

namespace {

void AddReadings(const std::vector<std::string>& readings, Scheme scheme, std::set<SyllableId>& ids) {
    for (const std::string& reading : readings)
        if (const auto id = EncodeSyllable(reading, scheme))
            ids.insert(*id);
}

void AddWordReading(const QString& reading, Scheme scheme, std::set<SyllableId>& ids) {
    for (const QString& syllable : reading.split(u' ', Qt::SkipEmptyParts))
        if (const auto id = EncodeSyllable(syllable.toStdString(), scheme))
            ids.insert(*id);
}

} // namespace

std::vector<SyllableToRecord> SyllablesToRecord(const SourceData& source) {
    std::set<SyllableId> pinyin;
    std::set<SyllableId> jyutping;
    for (const auto& entry : source.characters) {
        AddReadings(entry.second.pinyin, Scheme::Pinyin, pinyin);
        AddReadings(entry.second.jyutping, Scheme::Jyutping, jyutping);
    }
    for (const WordSource& word : source.words) {
        AddWordReading(word.pinyin, Scheme::Pinyin, pinyin);
        AddWordReading(word.jyutping, Scheme::Jyutping, jyutping);
    }
    std::vector<SyllableToRecord> all;
    all.reserve(pinyin.size() + jyutping.size());
    for (SyllableId id : pinyin)
        all.push_back({Scheme::Pinyin, id});
    for (SyllableId id : jyutping)
        all.push_back({Scheme::Jyutping, id});
    return all;
}

bool WriteSyllableSounds(const SourceData& source, bool record, const QString& path, IndexContent& index,
                         QString* error, SoundBuildStats* stats) {
    SoundBuildStats counts;
    std::vector<RecordedSyllable> recorded;
    if (record) {
        const std::vector<SyllableToRecord> wanted = SyllablesToRecord(source);
        recorded = RecordSyllables(wanted, &counts.failures);
        if (recorded.empty() && !wanted.empty()) {
            *error = QStringLiteral("no syllable could be recorded (is espeak-ng installed?)");
            if (!counts.failures.isEmpty())
                *error += QStringLiteral(": ") + counts.failures.front();
            return false;
        }
        counts.leftOut = int(wanted.size() - recorded.size()) - int(counts.failures.size());
    }

    std::vector<StoredSound> stored;
    if (!WriteSoundFile(recorded, path, error, &stored))
        return false;
    // The archive is in (scheme, id) order, so each section comes out sorted.
    index.pinyinSounds.clear();
    index.jyutpingSounds.clear();
    for (const StoredSound& sound : stored) {
        auto& section = sound.scheme == Scheme::Pinyin ? index.pinyinSounds : index.jyutpingSounds;
        section.push_back({sound.id, sound.offset});
    }
    counts.pinyinRecorded = int(index.pinyinSounds.size());
    counts.jyutpingRecorded = int(index.jyutpingSounds.size());
    counts.fileSize = QFileInfo(path).size();
    if (stats != nullptr)
        *stats = counts;
    return true;
}

} // namespace quillory::datagen
