#include "datagen/sounds/SoundRecorder.h"

#include <QProcess>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace quillory {

namespace {

constexpr int kSilenceThreshold = 98; // 0.3% of 32767
constexpr int kMarginMs = 5;
constexpr int kTimeoutMs = 30000;

bool SetError(QString* error, const QString& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

QString VoiceOf(Scheme scheme) {
    // A higher variant and a slower rate make the tones clearly distinct.
    return scheme == Scheme::Pinyin ? QStringLiteral("cmn-latn-pinyin+f2")
                                    : QStringLiteral("yue-latn-jyutping+f2");
}

} // namespace

bool IsSyllabicNasal(const std::string& syllable) {
    std::string base = syllable;
    while (!base.empty() && base.back() >= '0' && base.back() <= '9')
        base.pop_back();
    return base == "m" || base == "n" || base == "ng" || base == "hm" || base == "hng";
}

std::optional<std::vector<std::int16_t>> DecodeWav(const QByteArray& wav, int* sampleRate, QString* error) {
    const char* data = wav.constData();
    const qint64 size = wav.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        SetError(error, QStringLiteral("Not a WAV file"));
        return std::nullopt;
    }
    bool haveFormat = false;
    int rate = 0;
    qint64 pos = 12;
    while (pos + 8 <= size) {
        const char* chunk = data + pos;
        const qint64 chunkSize = qFromLittleEndian<std::uint32_t>(chunk + 4);
        const qint64 body = pos + 8;
        const qint64 available = std::min(chunkSize, size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (available < 16) {
                SetError(error, QStringLiteral("WAV format chunk is too short"));
                return std::nullopt;
            }
            const auto format = qFromLittleEndian<std::uint16_t>(chunk + 8);
            const auto channels = qFromLittleEndian<std::uint16_t>(chunk + 10);
            rate = int(qFromLittleEndian<std::uint32_t>(chunk + 12));
            const auto bits = qFromLittleEndian<std::uint16_t>(chunk + 22);
            if (format != 1 || channels != 1 || bits != 16 || rate <= 0) {
                SetError(error, QStringLiteral("WAV is not 16-bit mono PCM"));
                return std::nullopt;
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                SetError(error, QStringLiteral("WAV data comes before its format"));
                return std::nullopt;
            }
            std::vector<std::int16_t> samples(std::size_t(available / 2));
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = qFromLittleEndian<std::int16_t>(data + body + 2 * qint64(i));
            if (sampleRate != nullptr)
                *sampleRate = rate;
            return samples;
        }
        pos = body + chunkSize + (chunkSize & 1);
    }
    SetError(error, QStringLiteral("WAV has no data"));
    return std::nullopt;
}

std::vector<std::int16_t> TrimSilence(const std::vector<std::int16_t>& samples, int sampleRate) {
    const auto audible = [](std::int16_t s) { return std::abs(int(s)) > kSilenceThreshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), audible);
    if (first == samples.end())
        return {};
    const auto last = std::find_if(samples.rbegin(), samples.rend(), audible).base();
    const auto margin = std::ptrdiff_t(sampleRate) * kMarginMs / 1000;
    const auto begin = std::max(first - margin, samples.begin());
    const auto end = std::min(last + margin, samples.end());
    return {begin, end};
}

std::optional<std::vector<std::int16_t>> RecordSyllable(const std::string& syllable, Scheme scheme,
                                                        QString* error) {
    if (error != nullptr)
        error->clear();
    if (IsSyllabicNasal(syllable))
        return std::nullopt;
    // Only a syllable of the scheme reaches the command line: no options,
    // no arbitrary text.
    if (!EncodeSyllable(syllable, scheme)) {
        SetError(error, QStringLiteral("%1 is not a syllable").arg(QString::fromStdString(syllable)));
        return std::nullopt;
    }
    QProcess process;
    process.setProgram(QStringLiteral("espeak-ng"));
    process.setArguments({QStringLiteral("-v"), VoiceOf(scheme), QStringLiteral("-s"), QStringLiteral("130"),
                          QStringLiteral("--stdout"), QString::fromStdString(syllable)});
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    if (!process.waitForStarted(kTimeoutMs)) {
        SetError(error, QStringLiteral("Cannot run espeak-ng: %1").arg(process.errorString()));
        return std::nullopt;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        SetError(error,
                 QStringLiteral("espeak-ng did not finish for %1").arg(QString::fromStdString(syllable)));
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        SetError(error, QStringLiteral("espeak-ng failed for %1: %2")
                            .arg(QString::fromStdString(syllable),
                                 QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
        return std::nullopt;
    }
    int rate = 0;
    QString wavError;
    const auto raw = DecodeWav(process.readAllStandardOutput(), &rate, &wavError);
    if (!raw) {
        SetError(
            error,
            QStringLiteral("espeak-ng output for %1: %2").arg(QString::fromStdString(syllable), wavError));
        return std::nullopt;
    }
    auto samples = TrimSilence(Resample(*raw, rate, kRecordingRate), kRecordingRate);
    if (samples.empty()) {
        SetError(error, QStringLiteral("espeak-ng produced no audible sound for %1")
                            .arg(QString::fromStdString(syllable)));
        return std::nullopt;
    }
    return samples;
}

std::vector<RecordedSyllable> RecordSyllables(const std::vector<SyllableToRecord>& syllables,
                                              QStringList* errors) {
    std::vector<std::optional<RecordedSyllable>> results(syllables.size());
    std::vector<QString> failures(syllables.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < syllables.size(); i = next++) {
            const SyllableToRecord& request = syllables[i];
            const auto text = DecodeSyllable(request.id, request.scheme);
            if (!text) {
                failures[i] = QStringLiteral("Syllable id %1 has no text").arg(request.id);
                continue;
            }
            auto samples = RecordSyllable(*text, request.scheme, &failures[i]);
            if (samples)
                results[i] = RecordedSyllable{request.scheme, request.id, std::move(*samples)};
        }
    };
    {
        // Each worker owns its processes; QProcess is used only with its
        // blocking calls, which need no event loop.
        std::jthread second(work);
        work();
    }
    std::vector<RecordedSyllable> recorded;
    for (std::size_t i = 0; i < syllables.size(); ++i) {
        if (results[i])
            recorded.push_back(std::move(*results[i]));
        else if (!failures[i].isEmpty() && errors != nullptr)
            errors->append(failures[i]);
    }
    return recorded;
}

} // namespace quillory
