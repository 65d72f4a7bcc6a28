// The syllable player on a real audio output (a private sound server's null
// output) and, run with --without-audio, on a machine with no output at all.
#include "app/sound/SyllablePlayer.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/Waiting.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

using namespace quillory;
using testing::kGenerousMs;

namespace {

bool withoutAudio = false;
// A sound that cannot end within kGenerousMs: one that ends in time was cut off.
constexpr int kLongSoundMs = 60000;

// A 440 Hz tone of the given length at 16 kHz.
std::vector<std::int16_t> Tone(int milliseconds) {
    std::vector<std::int16_t> samples(std::size_t(16 * milliseconds));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(8000 * std::sin(2 * M_PI * 440 * double(i) / 16000));
    return samples;
}

// A player with spies on its sounds' starts and ends.
struct Spied {
    SyllablePlayer player;
    QSignalSpy started{&player, &SyllablePlayer::started};
    QSignalSpy finished{&player, &SyllablePlayer::finished};
};

} // namespace

class SyllablePlayerTest : public QObject {
    Q_OBJECT

private slots:
    void soundsStartEndAndCutEachOther() {
        if (withoutAudio)
            QSKIP("runs with the sound server");
        QVERIFY2(!QMediaDevices::defaultAudioOutput().isNull(), "the private sound server offers no output");
        Spied s;
        QVERIFY(s.player.Play(Tone(300), 16000));
        // Play() hands the sound over and returns; the sound is still to end.
        QCOMPARE(s.finished.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(s.started.count(), 1, kGenerousMs);
        QVERIFY(s.player.isPlaying());
        QVERIFY(s.player.lastStartDelay() >= 0);
        QCOMPARE(s.player.startedCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(s.finished.count(), 1, kGenerousMs);
        QTRY_VERIFY_WITH_TIMEOUT(!s.player.isPlaying(), kGenerousMs);
        // A new sound stops the one still playing: only the short sound can
        // end in time, and the cut-off one is not reported as played out.
        QVERIFY(s.player.Play(Tone(kLongSoundMs), 16000));
        QTRY_COMPARE_WITH_TIMEOUT(s.started.count(), 2, kGenerousMs);
        QVERIFY(s.player.Play(Tone(200), 16000));
        QTRY_COMPARE_WITH_TIMEOUT(s.started.count(), 3, kGenerousMs);
        QTRY_COMPARE_WITH_TIMEOUT(s.finished.count(), 2, kGenerousMs);
        QTRY_VERIFY_WITH_TIMEOUT(!s.player.isPlaying(), kGenerousMs);
        QCOMPARE(s.finished.count(), 2);
        // Stopping ends the sound without reporting it: the end of the next
        // sound is the only one reported.
        QVERIFY(s.player.Play(Tone(kLongSoundMs), 16000));
        QTRY_COMPARE_WITH_TIMEOUT(s.started.count(), 4, kGenerousMs);
        s.player.Stop();
        QVERIFY(!s.player.isPlaying());
        QVERIFY(s.player.Play(Tone(200), 16000));
        QTRY_COMPARE_WITH_TIMEOUT(s.started.count(), 5, kGenerousMs);
        QTRY_COMPARE_WITH_TIMEOUT(s.finished.count(), 3, kGenerousMs);
        QTRY_VERIFY_WITH_TIMEOUT(!s.player.isPlaying(), kGenerousMs);
        QCOMPARE(s.finished.count(), 3);
    }

    void nothingToPlayIsRefused() {
        SyllablePlayer player;
        QVERIFY(!player.Play({}, 16000));
        QVERIFY(!player.Play(Tone(100), 0));
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.startedCount(), 0);
    }

    void noOutputPlaysNothing() {
        if (!withoutAudio)
            QSKIP("runs with --without-audio");
        QVERIFY(QMediaDevices::defaultAudioOutput().isNull());
        Spied s;
        QVERIFY(!s.player.Play(Tone(200), 16000));
        QCoreApplication::processEvents();
        QCOMPARE(s.started.count(), 0);
        QVERIFY(!s.player.isPlaying());
        s.player.Stop(); // harmless
    }

    void samplesConvertToOtherFormats() {
        const std::vector<std::int16_t> samples = {0, 16384, -32768, 32767};
        // Same rate, stereo, 16 bit: every sample twice.
        const QByteArray stereo = ConvertSamples(samples, 16000, 16000, 2, QAudioFormat::Int16);
        QCOMPARE(stereo.size(), 16);
        const auto* values = reinterpret_cast<const std::int16_t*>(stereo.constData());
        QCOMPARE(values[2], std::int16_t(16384));
        QCOMPARE(values[3], std::int16_t(16384));
        QCOMPARE(values[6], std::int16_t(32767));
        // Float keeps the full scale within -1 .. 1.
        const QByteArray floats = ConvertSamples(samples, 16000, 16000, 1, QAudioFormat::Float);
        const auto* f = reinterpret_cast<const float*>(floats.constData());
        QCOMPARE(floats.size(), 16);
        QCOMPARE(f[1], 0.5f);
        QCOMPARE(f[2], -1.0f);
        QVERIFY(f[3] < 1.0f && f[3] > 0.999f);
        // Unsigned 8 bit is centred on 128; doubling the rate doubles the frames
        // and interpolates between them.
        const QByteArray bytes = ConvertSamples(samples, 16000, 32000, 1, QAudioFormat::UInt8);
        QCOMPARE(bytes.size(), 8);
        QCOMPARE(std::uint8_t(bytes[0]), std::uint8_t(128));
        QCOMPARE(std::uint8_t(bytes[1]), std::uint8_t(160)); // halfway to 16384
        QCOMPARE(std::uint8_t(bytes[4]), std::uint8_t(0));

        const QByteArray wide = ConvertSamples(samples, 16000, 16000, 1, QAudioFormat::Int32);
        QCOMPARE(reinterpret_cast<const std::int32_t*>(wide.constData())[2], std::int32_t(-32768) * 65536);

        QVERIFY(ConvertSamples(samples, 16000, 16000, 1, QAudioFormat::Unknown).isEmpty());
        QVERIFY(ConvertSamples({}, 16000, 16000, 1, QAudioFormat::Int16).isEmpty());
        QVERIFY(ConvertSamples(samples, 16000, 16000, 0, QAudioFormat::Int16).isEmpty());
    }
};

int main(int argc, char* argv[]) {
    std::vector<char*> args(argv, argv + argc);
    const auto flag = std::remove_if(
        args.begin(), args.end(), [](const char* arg) { return std::strcmp(arg, "--without-audio") == 0; });
    withoutAudio = flag != args.end();
    args.erase(flag, args.end());
    int count = int(args.size());
    QCoreApplication app(count, args.data());
    testing::PrivateSoundServer server;
    QString error;
    if (withoutAudio) {
        testing::PrivateSoundServer::UseNoServer();
    } else if (!testing::PrivateSoundServer::Installed()) {
        qCritical("pulseaudio is not installed; run scripts/setup.sh with --test");
        return 1;
    } else if (!server.Start(&error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    SyllablePlayerTest test;
    return QTest::qExec(&test, count, args.data());
}

#include "SyllablePlayerTest.moc"
