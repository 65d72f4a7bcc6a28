#include "datagen/SoundFileWriter.h"

#include "dictionary/MuLaw.h"
#include "dictionary/SoundFileFormat.h"

#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <limits>

namespace quillory {

namespace {

bool Fail(QString* error, const QString& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

} // namespace

bool WriteSoundFile(const std::vector<RecordedSyllable>& syllables, const QString& path, QString* error,
                    std::vector<StoredSound>* stored) {
    std::vector<const RecordedSyllable*> sorted;
    sorted.reserve(syllables.size());
    for (const RecordedSyllable& syllable : syllables)
        sorted.push_back(&syllable);
    const auto key = [](const RecordedSyllable* s) { return std::pair(int(s->scheme), s->id); };
    std::sort(sorted.begin(), sorted.end(), [&](auto* a, auto* b) { return key(a) < key(b); });
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        if (key(sorted[i - 1]) == key(sorted[i]))
            return Fail(error, QStringLiteral("Syllable %1 is recorded twice").arg(sorted[i]->id));
    }

    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t offset = soundfile::kHeaderSize + std::uint64_t(sorted.size()) * soundfile::kEntrySize;
    std::uint64_t total = offset;
    for (const RecordedSyllable* s : sorted)
        total += s->samples.size();
    if (total > kLimit)
        return Fail(error, QStringLiteral("The sound archive would exceed 4 GB"));

    std::vector<StoredSound> places;
    places.reserve(sorted.size());
    QByteArray head;
    head.reserve(int(offset));
    head.append(soundfile::kMagic, sizeof soundfile::kMagic);
    soundfile::AppendU16(head, soundfile::kVersion);
    soundfile::AppendU16(head, 0);
    soundfile::AppendU32(head, std::uint32_t(sorted.size()));
    soundfile::AppendU32(head, soundfile::kSampleRate);
    for (const RecordedSyllable* s : sorted) {
        head.append(char(s->scheme == Scheme::Jyutping ? 1 : 0));
        head.append('\0');
        soundfile::AppendU16(head, s->id);
        soundfile::AppendU32(head, std::uint32_t(offset));
        soundfile::AppendU32(head, std::uint32_t(s->samples.size()));
        places.push_back({s->scheme, s->id, std::uint32_t(offset)});
        offset += s->samples.size();
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    bool ok = file.write(head) == head.size();
    QByteArray codes;
    for (const RecordedSyllable* s : sorted) {
        if (!ok)
            break;
        codes.resize(qsizetype(s->samples.size()));
        std::transform(s->samples.begin(), s->samples.end(), codes.begin(),
                       [](std::int16_t sample) { return char(EncodeMuLaw(sample)); });
        ok = file.write(codes) == codes.size();
    }
    if (!ok || !file.commit())
        return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    if (stored != nullptr)
        *stored = std::move(places);
    return true;
}

} // namespace quillory
