#include "dictionary/sounds/SoundStore.h"
#include "datagen/sounds/SoundFileWriter.h"
#include "datagen/sounds/SoundRecorder.h"
#include "dictionary/sounds/SoundFileFormat.h"
#include "tests/support/TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numeric>

using namespace quillory;
using quillory::testing::ReadFile;
using quillory::testing::WriteFile;

namespace {

SyllableId Id(const char* text, Scheme scheme) {
    const auto id = EncodeSyllable(text, scheme);
    EXPECT_TRUE(id.has_value()) << text;
    return id.value_or(0);
}

std::vector<std::int16_t> Tone(std::size_t count, double frequency, double amplitude,
                               int rate = kRecordingRate) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = std::int16_t(amplitude * std::sin(2 * M_PI * frequency * double(i) / rate));
    return samples;
}

double Rms(const std::vector<std::int16_t>& samples) {
    const double sum = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

// Pitch in Hz of a stretch by normalised autocorrelation over 80-400 Hz.
double Pitch(const std::vector<std::int16_t>& samples, std::size_t begin, std::size_t end) {
    const int minLag = kRecordingRate / 400;
    const int maxLag = kRecordingRate / 80;
    double bestScore = -1;
    int bestLag = 0;
    for (int lag = minLag; lag <= maxLag; ++lag) {
        double cross = 0, energyA = 0, energyB = 0;
        for (std::size_t i = begin; i + lag < end; ++i) {
            cross += double(samples[i]) * samples[i + lag];
            energyA += double(samples[i]) * samples[i];
            energyB += double(samples[i + lag]) * samples[i + lag];
        }
        const double score = cross / std::sqrt(energyA * energyB + 1);
        if (score > bestScore) {
            bestScore = score;
            bestLag = lag;
        }
    }
    return double(kRecordingRate) / bestLag;
}

// Pitch of the first and last thirds of the voiced part: the 20 ms frames
// louder than a tenth of the loudest frame.
std::pair<double, double> PitchContour(const std::vector<std::int16_t>& samples) {
    const std::size_t frame = kRecordingRate / 50;
    std::vector<double> energy;
    for (std::size_t at = 0; at + frame <= samples.size(); at += frame)
        energy.push_back(Rms({samples.begin() + at, samples.begin() + at + frame}));
    const double loudest = *std::max_element(energy.begin(), energy.end());
    std::size_t first = energy.size(), last = 0;
    for (std::size_t i = 0; i < energy.size(); ++i) {
        if (energy[i] > loudest / 10) {
            first = std::min(first, i);
            last = i;
        }
    }
    const std::size_t begin = first * frame, end = (last + 1) * frame;
    const std::size_t third = (end - begin) / 3;
    return {Pitch(samples, begin, begin + third), Pitch(samples, end - third, end)};
}

// A 16-bit mono PCM WAV file, as the synthesiser writes it: RIFF size, fmt chunk (size 16, PCM, mono,
// rate, bytes per second, block align 2, 16 bits), data chunk.
QByteArray MakeWav(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray out("RIFF", 4);
    soundfile::AppendU32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    for (std::uint32_t v : {16u, 0x10001u, sampleRate, sampleRate * 2, 0x100002u})
        soundfile::AppendU32(out, v);
    out.append("data", 4);
    soundfile::AppendU32(out, dataBytes);
    for (std::int16_t sample : samples)
        soundfile::AppendU16(out, static_cast<std::uint16_t>(sample));
    return out;
}

const auto P = [](const char* text) { return Id(text, Scheme::Pinyin); };
const auto J = [](const char* text) { return Id(text, Scheme::Jyutping); };

// An archive of four syllables, one of them silent, written in SetUp.
class SoundFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QString error;
        ASSERT_TRUE(WriteSoundFile(syllables, path, &error)) << error.toStdString();
        good = ReadFile(path);
    }
    // Opens bytes written as another archive.
    bool Open(SoundStore& store, const QByteArray& bytes) {
        return WriteFile(damaged, bytes) && store.Open(damaged);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sounds.dat"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.dat"));
    const std::vector<RecordedSyllable> syllables = {{Scheme::Jyutping, J("zung1"), Tone(1600, 200, 8000)},
                                                     {Scheme::Pinyin, P("zhong1"), Tone(3200, 300, 20000)},
                                                     {Scheme::Pinyin, P("ma4"), Tone(800, 150, 1000)},
                                                     {Scheme::Pinyin, P("a1"), {}}};
    QByteArray good;
};

TEST_F(SoundFileTest, WrittenSyllablesReadBackWithTheirLengthLoudnessAndPitch) {
    SoundStore store;
    ASSERT_TRUE(store.Open(path)) << store.error().toStdString();
    EXPECT_EQ(store.size(), 4u);
    for (const RecordedSyllable& syllable : syllables) {
        SCOPED_TRACE(syllable.id);
        ASSERT_TRUE(store.has(syllable.scheme, syllable.id));
        const auto samples = store.samples(syllable.scheme, syllable.id);
        ASSERT_TRUE(samples.has_value());
        ASSERT_EQ(samples->size(), syllable.samples.size());
        if (syllable.samples.empty())
            continue;
        // A lossy codec: the same loudness and pitch, and in step with the
        // original from the first sample (no delay left in).
        EXPECT_NEAR(Rms(*samples) / Rms(syllable.samples), 1.0, 0.15);
        const std::size_t n = samples->size(), from = n / 4, to = 3 * n / 4;
        EXPECT_NEAR(Pitch(*samples, from, to), Pitch(syllable.samples, from, to), 5.0);
        const double cross = std::inner_product(samples->begin() + from, samples->begin() + to,
                                                syllable.samples.begin() + from, 0.0);
        EXPECT_GT(cross / (Rms({samples->begin() + from, samples->begin() + to}) *
                           Rms({syllable.samples.begin() + from, syllable.samples.begin() + to}) *
                           double(to - from)),
                  0.8);
    }
    // The archive is far smaller than the samples it holds.
    EXPECT_LT(QFileInfo(path).size(), (1600 + 3200 + 800) * 2 / 4);
    // The same id in the other scheme, and an id never written, are absent.
    EXPECT_FALSE(store.has(Scheme::Jyutping, P("zhong1")));
    EXPECT_FALSE(store.has(Scheme::Pinyin, P("ma1")));
    EXPECT_FALSE(store.samples(Scheme::Pinyin, P("ma1")).has_value());
}

TEST_F(SoundFileTest, DuplicateSyllableIsRefusedAndKeepsTheOldFile) {
    QString error;
    EXPECT_FALSE(WriteSoundFile(
        {{Scheme::Pinyin, 7, Tone(10, 100, 100)}, {Scheme::Pinyin, 7, Tone(20, 100, 100)}}, path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFile(path), good);
}

TEST_F(SoundFileTest, DamagedFilesAreRefused) {
    // The good file with one 32-bit field replaced; the last entry (Jyutping
    // sorts after Pinyin) holds samples.
    const auto patched = [&](int at, std::uint32_t value) {
        QByteArray bytes = good;
        qToLittleEndian<std::uint32_t>(value, bytes.data() + at);
        return bytes;
    };
    constexpr int kLastEntry = 16 + 3 * 16;
    QByteArray unsorted = good;
    std::swap(unsorted[16 + 2], unsorted[16 + 16 + 2]);
    std::swap(unsorted[16 + 3], unsorted[16 + 16 + 3]);
    const std::pair<QByteArray, const char*> cases[] = {
        {good.left(good.size() - 1), "last byte cut off"},
        {good.left(30), "index cut off"},
        {good.left(10), "header cut off"},
        {QByteArray(), "empty"},
        {QByteArray("X") + good.mid(1), "wrong magic"},
        {patched(4, 9), "unknown version"},
        {patched(8, 0xFFFFFFFFu), "huge count"},
        {patched(kLastEntry + 4, std::uint32_t(good.size())), "offset at the end"},
        {patched(kLastEntry + 8, 0xFFFFFFF0u), "offset plus length overflows"},
        {patched(kLastEntry + 12, 0x7FFFFFFFu), "sample count beyond any syllable"},
        {patched(kLastEntry + 4, 0u), "samples overlapping the header"},
        {unsorted, "index out of order"}};
    for (const auto& [bytes, what] : cases) {
        SCOPED_TRACE(what);
        SoundStore store;
        EXPECT_FALSE(Open(store, bytes));
        EXPECT_FALSE(store.error().isEmpty());
        EXPECT_FALSE(store.has(Scheme::Pinyin, P("zhong1")));
        EXPECT_FALSE(store.samples(Scheme::Pinyin, P("zhong1")).has_value());
    }
    SoundStore missing;
    EXPECT_FALSE(missing.Open(dir.filePath(QStringLiteral("none.dat"))));
    // Only regular files: a device, whose size reads as 0 and which never
    // ends, is refused at once, also through a link.
    const QString link = dir.filePath(QStringLiteral("zero.dat"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    for (const QString& path : {link, QStringLiteral("/dev/zero")}) {
        SoundStore store;
        EXPECT_FALSE(store.Open(path)) << path.toStdString();
        EXPECT_TRUE(store.error().contains(QStringLiteral("no regular file"))) << store.error().toStdString();
    }
}

TEST_F(SoundFileTest, DamagedPacketsGiveNoSoundInsteadOfNoise) {
    // The index entry of zhong1, whose packets are spoilt below.
    const char* entry = good.constData() + 16;
    while (qFromLittleEndian<std::uint16_t>(entry + 2) != P("zhong1") || entry[0] != 0)
        entry += 16;
    const int at = int(entry - good.constData());
    const std::uint32_t packet = qFromLittleEndian<std::uint32_t>(entry + 4);
    const auto spoilt = [&](int offset, std::uint32_t value, int size) {
        QByteArray bytes = good;
        if (size == 2)
            qToLittleEndian<std::uint16_t>(std::uint16_t(value), bytes.data() + offset);
        else
            qToLittleEndian<std::uint32_t>(value, bytes.data() + offset);
        return bytes;
    };
    const std::pair<QByteArray, const char*> cases[] = {
        {spoilt(int(packet), 0xFFFF, 2), "packet longer than the recording"},
        {spoilt(int(packet), 0, 2), "empty packet"},
        {spoilt(at + 8, 4, 4), "recording cut short"}};
    for (const auto& [bytes, what] : cases) {
        SCOPED_TRACE(what);
        SoundStore store;
        ASSERT_TRUE(Open(store, bytes));
        EXPECT_FALSE(store.samples(Scheme::Pinyin, P("zhong1")).has_value());
        EXPECT_TRUE(store.samples(Scheme::Jyutping, J("zung1")).has_value());
    }
}

TEST(WavTest, StreamingSizesAreCutAndBrokenWavIsRefused) {
    QByteArray wav = MakeWav({1, -2, 3, 400}, 22050);
    qToLittleEndian<std::uint32_t>(0x7FFFF000u, wav.data() + 4);
    qToLittleEndian<std::uint32_t>(0x7FFFF000u, wav.data() + 40);
    wav.chop(1); // half a sample at the end
    int rate = 0;
    const auto samples = DecodeWav(wav, &rate, nullptr);
    ASSERT_TRUE(samples.has_value());
    EXPECT_EQ(rate, 22050);
    EXPECT_EQ(*samples, (std::vector<std::int16_t>{1, -2, 3}));

    QString error;
    EXPECT_FALSE(DecodeWav(QByteArray("RIFF"), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    QByteArray stereo = MakeWav({1, 2}, 16000);
    stereo[22] = 2;
    EXPECT_FALSE(DecodeWav(stereo, nullptr, nullptr));
    EXPECT_FALSE(DecodeWav(MakeWav({}, 16000).left(36), nullptr, nullptr)); // no data chunk
}

TEST(SignalTest, ResampleKeepsDurationAndFrequency) {
    const auto output = Resample(Tone(22050, 200, 10000, 22050), 22050, 16000);
    EXPECT_EQ(output.size(), 16000u);
    EXPECT_NEAR(Pitch(output, 0, 4000), 200, 3);
    EXPECT_NEAR(Rms(output), 10000 / std::sqrt(2.0), 200);
}

TEST(SignalTest, TrimSilenceKeepsAMarginAroundTheSound) {
    std::vector<std::int16_t> samples(1000, 0);
    std::fill(samples.begin() + 300, samples.begin() + 600, 5000);
    samples[100] = 50; // below the threshold: still silence
    const auto trimmed = TrimSilence(samples, 16000);
    EXPECT_EQ(trimmed.size(), 300u + 2 * 80);
    EXPECT_EQ(trimmed[80], 5000);
    EXPECT_EQ(trimmed[79], 0);
    EXPECT_TRUE(TrimSilence(std::vector<std::int16_t>(500, 40), 16000).empty());
    EXPECT_EQ(TrimSilence({5000, 0, 0}, 16000).size(), 3u); // the margin stops at the ends
}

TEST(SoundRecorderTest, NasalsAndNonSyllablesGiveNoSoundASyllableAnAudibleOne) {
    // Nasals are no error; text that is no syllable is one, and never
    // reaches the synthesiser's command line.
    const std::tuple<const char*, Scheme, bool> noSound[] = {{"m4", Scheme::Jyutping, false},
                                                             {"ng5", Scheme::Jyutping, false},
                                                             {"hng2", Scheme::Pinyin, false},
                                                             {"--help", Scheme::Pinyin, true},
                                                             {"xyz9", Scheme::Jyutping, true}};
    for (const auto& [text, scheme, isError] : noSound) {
        QString error = QStringLiteral("stale");
        EXPECT_FALSE(RecordSyllable(text, scheme, &error).has_value()) << text;
        EXPECT_EQ(error.isEmpty(), !isError) << text;
    }
    for (const auto& [text, scheme] :
         {std::pair{"ma1", Scheme::Pinyin}, std::pair{"zung1", Scheme::Jyutping}}) {
        QString error;
        const auto samples = RecordSyllable(text, scheme, &error);
        ASSERT_TRUE(samples.has_value()) << text << ": " << error.toStdString();
        const double seconds = double(samples->size()) / kRecordingRate;
        EXPECT_GT(seconds, 0.15) << text;
        EXPECT_LT(seconds, 1.5) << text;
        EXPECT_GT(Rms(*samples), 1000) << text;
    }
}

TEST(SoundRecorderTest, BatchRecordsAllButNasalsAndKeepsTheTonesAsStored) {
    const std::vector<SyllableToRecord> list = {{Scheme::Pinyin, P("ma1")},    {Scheme::Pinyin, P("ma4")},
                                                {Scheme::Pinyin, P("zhong1")}, {Scheme::Jyutping, J("zung1")},
                                                {Scheme::Jyutping, J("ng5")},  {Scheme::Pinyin, 0xFFFF}};
    QStringList errors;
    const auto recorded = RecordSyllables(list, &errors);
    ASSERT_EQ(recorded.size(), 4u);
    EXPECT_EQ(errors.size(), 1);
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(recorded[i].scheme, list[i].scheme);
        EXPECT_EQ(recorded[i].id, list[i].id);
        // Audible sounds of plausible length.
        const double seconds = double(recorded[i].samples.size()) / kRecordingRate;
        EXPECT_GT(seconds, 0.15);
        EXPECT_LT(seconds, 1.5);
        EXPECT_GT(Rms(recorded[i].samples), 1000);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sounds.dat"));
    QString error;
    ASSERT_TRUE(WriteSoundFile(recorded, path, &error)) << error.toStdString();
    SoundStore store;
    ASSERT_TRUE(store.Open(path));
    EXPECT_TRUE(store.has(Scheme::Jyutping, J("zung1")));
    EXPECT_FALSE(store.has(Scheme::Jyutping, J("ng5")));
    // The first tone is level and the fourth falls, also as stored.
    for (const bool stored : {false, true}) {
        SCOPED_TRACE(stored ? "stored" : "recorded");
        const auto [levelStart, levelEnd] =
            PitchContour(stored ? *store.samples(Scheme::Pinyin, P("ma1")) : recorded[0].samples);
        const auto [fallStart, fallEnd] =
            PitchContour(stored ? *store.samples(Scheme::Pinyin, P("ma4")) : recorded[1].samples);
        EXPECT_LT(std::abs(levelEnd - levelStart) / levelStart, 0.15)
            << "ma1 " << levelStart << " -> " << levelEnd;
        EXPECT_LT(fallEnd, fallStart * 0.9) << "ma4 " << fallStart << " Hz -> " << fallEnd << " Hz";
    }
}

} // namespace
