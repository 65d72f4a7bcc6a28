#include "dictionary/sounds/SoundStore.h"
#include "datagen/sounds/SoundFileWriter.h"
#include "datagen/sounds/SoundRecorder.h"
#include "dictionary/sounds/SoundFileFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace quillory;

namespace {

SyllableId Id(const char* text, Scheme scheme) {
    const auto id = EncodeSyllable(text, scheme);
    EXPECT_TRUE(id.has_value()) << text;
    return id.value_or(0);
}

std::vector<std::int16_t> Tone(std::size_t count, double frequency, double amplitude) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = std::int16_t(amplitude * std::sin(2 * M_PI * frequency * double(i) / kRecordingRate));
    return samples;
}

double Rms(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (std::int16_t s : samples)
        sum += double(s) * s;
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

// A 16-bit mono PCM WAV file, as the synthesiser writes it.
QByteArray MakeWav(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray out;
    out.reserve(44 + int(dataBytes));
    out.append("RIFF", 4);
    soundfile::AppendU32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    soundfile::AppendU32(out, 16); // fmt chunk size
    soundfile::AppendU16(out, 1);  // PCM
    soundfile::AppendU16(out, 1);  // mono
    soundfile::AppendU32(out, sampleRate);
    soundfile::AppendU32(out, sampleRate * 2); // bytes per second
    soundfile::AppendU16(out, 2);              // block align
    soundfile::AppendU16(out, 16);             // bits per sample
    out.append("data", 4);
    soundfile::AppendU32(out, dataBytes);
    for (std::int16_t sample : samples)
        soundfile::AppendU16(out, static_cast<std::uint16_t>(sample));
    return out;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

class SoundFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("sounds.dat"));
    }
    void WriteSample() {
        syllables = {
            {Scheme::Jyutping, Id("zung1", Scheme::Jyutping), Tone(1600, 200, 8000)},
            {Scheme::Pinyin, Id("zhong1", Scheme::Pinyin), Tone(3200, 300, 20000)},
            {Scheme::Pinyin, Id("ma4", Scheme::Pinyin), Tone(800, 150, 1000)},
            {Scheme::Pinyin, Id("a1", Scheme::Pinyin), {}},
        };
        QString error;
        ASSERT_TRUE(WriteSoundFile(syllables, path, &error)) << error.toStdString();
    }
    QTemporaryDir dir;
    QString path;
    std::vector<RecordedSyllable> syllables;
};

TEST_F(SoundFileTest, WrittenSyllablesReadBackWithTheirLengthLoudnessAndPitch) {
    WriteSample();
    SoundStore store;
    ASSERT_TRUE(store.Open(path)) << store.error().toStdString();
    EXPECT_EQ(store.size(), 4u);
    for (const RecordedSyllable& syllable : syllables) {
        ASSERT_TRUE(store.has(syllable.scheme, syllable.id));
        const auto samples = store.samples(syllable.scheme, syllable.id);
        ASSERT_TRUE(samples.has_value());
        ASSERT_EQ(samples->size(), syllable.samples.size());
        if (syllable.samples.empty())
            continue;
        // A lossy codec: the same loudness and pitch, and in step with the
        // original from the first sample (no delay left in).
        EXPECT_NEAR(Rms(*samples) / Rms(syllable.samples), 1.0, 0.15) << syllable.id;
        const std::size_t n = samples->size();
        EXPECT_NEAR(Pitch(*samples, n / 4, 3 * n / 4), Pitch(syllable.samples, n / 4, 3 * n / 4), 5.0);
        double cross = 0;
        for (std::size_t i = n / 4; i < 3 * n / 4; ++i)
            cross += double((*samples)[i]) * syllable.samples[i];
        const double correlation =
            cross / (Rms({samples->begin() + n / 4, samples->begin() + 3 * n / 4}) *
                     Rms({syllable.samples.begin() + n / 4, syllable.samples.begin() + 3 * n / 4}) *
                     double(3 * n / 4 - n / 4));
        EXPECT_GT(correlation, 0.8) << syllable.id;
    }
    // The archive is far smaller than the samples it holds.
    EXPECT_LT(QFileInfo(path).size(), (1600 + 3200 + 800) * 2 / 4);
    // The same id in the other scheme, and an id never written, are absent.
    EXPECT_FALSE(store.has(Scheme::Jyutping, Id("zhong1", Scheme::Pinyin)));
    EXPECT_FALSE(store.has(Scheme::Pinyin, Id("ma1", Scheme::Pinyin)));
    EXPECT_FALSE(store.samples(Scheme::Pinyin, Id("ma1", Scheme::Pinyin)).has_value());
}

TEST_F(SoundFileTest, DuplicateSyllableIsRefusedAndKeepsTheOldFile) {
    WriteSample();
    const QByteArray before = ReadBytes(path);
    std::vector<RecordedSyllable> twice = {{Scheme::Pinyin, 7, Tone(10, 100, 100)},
                                           {Scheme::Pinyin, 7, Tone(20, 100, 100)}};
    QString error;
    EXPECT_FALSE(WriteSoundFile(twice, path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(SoundFileTest, DamagedFilesAreRefused) {
    WriteSample();
    const QByteArray good = ReadBytes(path);
    const QString damaged = dir.filePath(QStringLiteral("damaged.dat"));
    const auto refused = [&](const QByteArray& bytes, const char* what) {
        WriteBytes(damaged, bytes);
        SoundStore store;
        EXPECT_FALSE(store.Open(damaged)) << what;
        EXPECT_FALSE(store.error().isEmpty()) << what;
        EXPECT_FALSE(store.has(Scheme::Pinyin, Id("zhong1", Scheme::Pinyin))) << what;
        EXPECT_FALSE(store.samples(Scheme::Pinyin, Id("zhong1", Scheme::Pinyin)).has_value()) << what;
    };
    refused(good.left(good.size() - 1), "last byte cut off");
    refused(good.left(30), "index cut off");
    refused(good.left(10), "header cut off");
    refused(QByteArray(), "empty");
    // The good file with one 32-bit field replaced.
    const auto patched = [&](int at, std::uint32_t value) {
        QByteArray bytes = good;
        qToLittleEndian<std::uint32_t>(value, bytes.data() + at);
        return bytes;
    };
    refused(QByteArray("X") + good.mid(1), "wrong magic");
    refused(patched(4, 9), "unknown version");
    refused(patched(8, 0xFFFFFFFFu), "huge count");
    // The last entry (Jyutping sorts after Pinyin) holds samples.
    constexpr int kLastEntry = 16 + 3 * 16;
    refused(patched(kLastEntry + 4, std::uint32_t(good.size())), "offset at the end");
    refused(patched(kLastEntry + 8, 0xFFFFFFF0u), "offset plus length overflows");
    refused(patched(kLastEntry + 12, 0x7FFFFFFFu), "sample count beyond any syllable");
    refused(patched(kLastEntry + 4, 0u), "samples overlapping the header");
    QByteArray unsorted = good;
    std::swap(unsorted[16 + 2], unsorted[16 + 16 + 2]);
    std::swap(unsorted[16 + 3], unsorted[16 + 16 + 3]);
    refused(unsorted, "index out of order");

    SoundStore missing;
    EXPECT_FALSE(missing.Open(dir.filePath(QStringLiteral("none.dat"))));
}

TEST_F(SoundFileTest, DamagedPacketsGiveNoSoundInsteadOfNoise) {
    WriteSample();
    QByteArray bytes = ReadBytes(path);
    const auto offsetOf = [&](int entry) {
        return qFromLittleEndian<std::uint32_t>(bytes.constData() + 16 + 16 * entry + 4);
    };
    // The index entry of zhong1, whose packets are spoilt below.
    const SyllableId zhong1 = Id("zhong1", Scheme::Pinyin);
    int entry = 0;
    while (qFromLittleEndian<std::uint16_t>(bytes.constData() + 16 + 16 * entry + 2) != zhong1 ||
           bytes[16 + 16 * entry] != 0)
        ++entry;
    const QString damaged = dir.filePath(QStringLiteral("damaged.dat"));
    const auto check = [&](const QByteArray& spoilt, const char* what) {
        WriteBytes(damaged, spoilt);
        SoundStore store;
        ASSERT_TRUE(store.Open(damaged)) << what;
        EXPECT_FALSE(store.samples(Scheme::Pinyin, zhong1).has_value()) << what;
        EXPECT_TRUE(store.samples(Scheme::Jyutping, Id("zung1", Scheme::Jyutping)).has_value()) << what;
    };
    QByteArray longPacket = bytes;
    qToLittleEndian<std::uint16_t>(0xFFFF, longPacket.data() + offsetOf(entry));
    check(longPacket, "packet longer than the recording");
    QByteArray emptyPacket = bytes;
    qToLittleEndian<std::uint16_t>(0, emptyPacket.data() + offsetOf(entry));
    check(emptyPacket, "empty packet");
    QByteArray shortStream = bytes;
    qToLittleEndian<std::uint32_t>(4, shortStream.data() + 16 + 16 * entry + 8);
    check(shortStream, "recording cut short");
}

TEST(WavTest, StreamingSizesAreCutToTheBytesPresent) {
    QByteArray wav = MakeWav({1, -2, 3, 400}, 22050);
    qToLittleEndian<std::uint32_t>(0x7FFFF000u, wav.data() + 4);
    qToLittleEndian<std::uint32_t>(0x7FFFF000u, wav.data() + 40);
    wav.chop(1); // half a sample at the end
    int rate = 0;
    const auto samples = DecodeWav(wav, &rate, nullptr);
    ASSERT_TRUE(samples.has_value());
    EXPECT_EQ(rate, 22050);
    EXPECT_EQ(*samples, (std::vector<std::int16_t>{1, -2, 3}));
}

TEST(WavTest, UnsupportedOrBrokenWavIsRefused) {
    QString error;
    EXPECT_FALSE(DecodeWav(QByteArray("RIFF"), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    QByteArray stereo = MakeWav({1, 2}, 16000);
    stereo[22] = 2;
    EXPECT_FALSE(DecodeWav(stereo, nullptr, nullptr));
    QByteArray noData = MakeWav({}, 16000).left(36);
    EXPECT_FALSE(DecodeWav(noData, nullptr, nullptr));
}

TEST(SignalTest, ResampleKeepsDurationAndFrequency) {
    const std::vector<std::int16_t> input = [] {
        std::vector<std::int16_t> s(22050);
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = std::int16_t(10000 * std::sin(2 * M_PI * 200 * double(i) / 22050));
        return s;
    }();
    const auto output = Resample(input, 22050, 16000);
    EXPECT_EQ(output.size(), 16000u);
    EXPECT_NEAR(Pitch(output, 0, 4000), 200, 3);
    EXPECT_NEAR(Rms(output), 10000 / std::sqrt(2.0), 200);
}

TEST(SignalTest, TrimSilenceKeepsAMarginAroundTheSound) {
    std::vector<std::int16_t> samples(1000, 0);
    for (std::size_t i = 300; i < 600; ++i)
        samples[i] = 5000;
    samples[100] = 50; // below the threshold: still silence
    const auto trimmed = TrimSilence(samples, 16000);
    EXPECT_EQ(trimmed.size(), 300u + 2 * 80);
    EXPECT_EQ(trimmed[80], 5000);
    EXPECT_EQ(trimmed[79], 0);
    EXPECT_TRUE(TrimSilence(std::vector<std::int16_t>(500, 40), 16000).empty());
    // The margin stops at the ends.
    EXPECT_EQ(TrimSilence({5000, 0, 0}, 16000).size(), 3u);
}

TEST(SoundRecorderTest, SyllablesRecordAsAudibleSoundsOfPlausibleLength) {
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

TEST(SoundRecorderTest, SyllabicNasalsAndNonSyllablesGiveNoSound) {
    // Nasals are no error; text that is no syllable is one, and never
    // reaches the synthesiser's command line.
    const struct {
        const char* text;
        Scheme scheme;
        bool error;
    } cases[] = {{"m4", Scheme::Jyutping, false},
                 {"ng5", Scheme::Jyutping, false},
                 {"hng2", Scheme::Pinyin, false},
                 {"--help", Scheme::Pinyin, true},
                 {"xyz9", Scheme::Jyutping, true}};
    for (const auto& c : cases) {
        QString error = QStringLiteral("stale");
        EXPECT_FALSE(RecordSyllable(c.text, c.scheme, &error).has_value()) << c.text;
        EXPECT_EQ(error.isEmpty(), !c.error) << c.text;
    }
}

TEST(SoundRecorderTest, FirstToneIsLevelAndFourthToneFallsAlsoAsStored) {
    const SyllableId ma1 = Id("ma1", Scheme::Pinyin), ma4 = Id("ma4", Scheme::Pinyin);
    const auto level = RecordSyllable("ma1", Scheme::Pinyin, nullptr);
    const auto falling = RecordSyllable("ma4", Scheme::Pinyin, nullptr);
    ASSERT_TRUE(level && falling);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sounds.dat"));
    ASSERT_TRUE(
        WriteSoundFile({{Scheme::Pinyin, ma1, *level}, {Scheme::Pinyin, ma4, *falling}}, path, nullptr));
    SoundStore store;
    ASSERT_TRUE(store.Open(path));

    for (const bool stored : {false, true}) {
        const auto levelSamples = stored ? *store.samples(Scheme::Pinyin, ma1) : *level;
        const auto fallingSamples = stored ? *store.samples(Scheme::Pinyin, ma4) : *falling;
        const auto [levelStart, levelEnd] = PitchContour(levelSamples);
        const auto [fallStart, fallEnd] = PitchContour(fallingSamples);
        const std::string how = stored ? "stored " : "recorded ";
        RecordProperty(how + "ma1_hz",
                       QStringLiteral("%1 -> %2").arg(levelStart).arg(levelEnd).toStdString());
        RecordProperty(how + "ma4_hz", QStringLiteral("%1 -> %2").arg(fallStart).arg(fallEnd).toStdString());
        EXPECT_LT(std::abs(levelEnd - levelStart) / levelStart, 0.15)
            << how << "ma1 " << levelStart << " Hz -> " << levelEnd << " Hz";
        EXPECT_LT(fallEnd, fallStart * 0.9) << how << "ma4 " << fallStart << " Hz -> " << fallEnd << " Hz";
    }
}

TEST(SoundRecorderTest, BatchRecordsAllButNasalsAndReportsFailures) {
    const std::vector<SyllableToRecord> list = {
        {Scheme::Pinyin, Id("ma1", Scheme::Pinyin)},     {Scheme::Pinyin, Id("ma2", Scheme::Pinyin)},
        {Scheme::Pinyin, Id("zhong1", Scheme::Pinyin)},  {Scheme::Jyutping, Id("zung1", Scheme::Jyutping)},
        {Scheme::Jyutping, Id("ng5", Scheme::Jyutping)}, {Scheme::Pinyin, 0xFFFF},
    };
    QStringList errors;
    const auto recorded = RecordSyllables(list, &errors);
    ASSERT_EQ(recorded.size(), 4u);
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].scheme, list[i].scheme);
        EXPECT_EQ(recorded[i].id, list[i].id);
        EXPECT_GT(Rms(recorded[i].samples), 1000);
    }
    EXPECT_EQ(errors.size(), 1);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sounds.dat"));
    QString error;
    ASSERT_TRUE(WriteSoundFile(recorded, path, &error)) << error.toStdString();
    SoundStore store;
    ASSERT_TRUE(store.Open(path));
    EXPECT_TRUE(store.has(Scheme::Jyutping, Id("zung1", Scheme::Jyutping)));
    EXPECT_FALSE(store.has(Scheme::Jyutping, Id("ng5", Scheme::Jyutping)));
}
