#include "datagen/sounds/SoundFileWriter.h"

#include "dictionary/sounds/SoundFileFormat.h"

#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <opus/opus.h>
#include <thread>

namespace quillory {

namespace {

bool Fail(QString* error, const QString& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

struct EncoderDeleter {
    void operator()(OpusEncoder* encoder) const { opus_encoder_destroy(encoder); }
};
using Encoder = std::unique_ptr<OpusEncoder, EncoderDeleter>;

Encoder MakeEncoder(int* preSkip, QString* error) {
    int status = OPUS_OK;
    Encoder encoder(opus_encoder_create(int(soundfile::kSampleRate), 1, OPUS_APPLICATION_VOIP, &status));
    if (status != OPUS_OK || !encoder) {
        Fail(error, QStringLiteral("Cannot create the Opus encoder: %1")
                        .arg(QString::fromLatin1(opus_strerror(status))));
        return nullptr;
    }
    opus_encoder_ctl(encoder.get(), OPUS_SET_BITRATE(soundfile::kBitRate));
    opus_encoder_ctl(encoder.get(), OPUS_SET_COMPLEXITY(5));
    opus_encoder_ctl(encoder.get(), OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
    opus_encoder_ctl(encoder.get(), OPUS_GET_LOOKAHEAD(preSkip));
    return encoder;
}

// One recording as length-prefixed packets: the samples, then silence for
// the encoder's look-ahead and up to a whole last frame. Empty on failure.
QByteArray EncodeRecording(OpusEncoder* encoder, const std::vector<std::int16_t>& samples, int preSkip) {
    opus_encoder_ctl(encoder, OPUS_RESET_STATE);
    const std::size_t wanted = samples.size() + std::size_t(preSkip);
    const std::size_t frames = (wanted + soundfile::kFrameSamples - 1) / soundfile::kFrameSamples;
    std::vector<opus_int16> input(frames * soundfile::kFrameSamples, 0);
    std::copy(samples.begin(), samples.end(), input.begin());
    QByteArray stream;
    unsigned char packet[1500];
    for (std::size_t f = 0; f < frames; ++f) {
        const int bytes = opus_encode(encoder, input.data() + f * soundfile::kFrameSamples,
                                      soundfile::kFrameSamples, packet, sizeof packet);
        if (bytes < 0)
            return {};
        soundfile::AppendU16(stream, std::uint16_t(bytes));
        stream.append(reinterpret_cast<const char*>(packet), bytes);
    }
    return stream;
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
    for (const RecordedSyllable* s : sorted) {
        if (s->samples.size() > soundfile::kMaxSamples)
            return Fail(error, QStringLiteral("The recording of syllable %1 is longer than 10 s").arg(s->id));
    }

    // Two encoders at a time, each taking the next recording.
    int preSkip = 0;
    Encoder encoders[2] = {MakeEncoder(&preSkip, error), MakeEncoder(&preSkip, error)};
    if (!encoders[0] || !encoders[1])
        return false;
    std::vector<QByteArray> streams(sorted.size());
    std::atomic<std::size_t> next{0};
    const auto encode = [&](OpusEncoder* encoder) {
        for (std::size_t i = next++; i < sorted.size(); i = next++)
            streams[i] = EncodeRecording(encoder, sorted[i]->samples, preSkip);
    };
    {
        std::jthread second(encode, encoders[1].get());
        encode(encoders[0].get());
    }
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (streams[i].isEmpty())
            return Fail(error,
                        QStringLiteral("Cannot encode the recording of syllable %1").arg(sorted[i]->id));
    }

    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t offset = soundfile::kHeaderSize + std::uint64_t(sorted.size()) * soundfile::kEntrySize;
    std::uint64_t total = offset;
    for (const QByteArray& stream : streams)
        total += std::uint64_t(stream.size());
    if (total > kLimit)
        return Fail(error, QStringLiteral("The sound archive would exceed 4 GB"));

    std::vector<StoredSound> places;
    places.reserve(sorted.size());
    QByteArray head;
    head.reserve(int(offset));
    head.append(soundfile::kMagic, sizeof soundfile::kMagic);
    soundfile::AppendU16(head, soundfile::kVersion);
    soundfile::AppendU16(head, std::uint16_t(preSkip));
    soundfile::AppendU32(head, std::uint32_t(sorted.size()));
    soundfile::AppendU32(head, soundfile::kSampleRate);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const RecordedSyllable* s = sorted[i];
        head.append(char(s->scheme == Scheme::Jyutping ? 1 : 0));
        head.append('\0');
        soundfile::AppendU16(head, s->id);
        soundfile::AppendU32(head, std::uint32_t(offset));
        soundfile::AppendU32(head, std::uint32_t(streams[i].size()));
        soundfile::AppendU32(head, std::uint32_t(s->samples.size()));
        places.push_back({s->scheme, s->id, std::uint32_t(offset)});
        offset += std::uint64_t(streams[i].size());
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    bool ok = file.write(head) == head.size();
    for (std::size_t i = 0; ok && i < streams.size(); ++i)
        ok = file.write(streams[i]) == streams[i].size();
    if (!ok || !file.commit())
        return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    if (stored != nullptr)
        *stored = std::move(places);
    return true;
}

} // namespace quillory
