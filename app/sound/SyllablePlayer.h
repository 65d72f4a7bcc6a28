#pragma once
// Plays one syllable's recording from memory on the default audio output,
// without blocking: play() returns at once, a new sound stops the one still
// playing, and without an audio output nothing is played.
#include <QBuffer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <vector>

class QAudioSink;

namespace quillory {

class SyllablePlayer : public QObject {
    Q_OBJECT
public:
    explicit SyllablePlayer(QObject* parent = nullptr);
    ~SyllablePlayer() override;

    // Starts playing 16-bit mono samples at sampleRate. False when there is
    // no audio output, the samples are empty or the output refuses them.
    bool Play(const std::vector<std::int16_t>& samples, int sampleRate);
    void Stop();
    bool isPlaying() const;
    // Sounds started since the player was made (each new play() counts).
    int startedCount() const { return startedCount_; }
    // Milliseconds from the last play() call until its sound started; -1
    // while it has not started.
    qint64 lastStartDelay() const { return lastStartDelay_; }

signals:
    // The output began to play the sound of the last play() call.
    void started(qint64 delayMs);
    // The sound of the last play() call played to its end.
    void finished();

private:
    void onStateChanged();

    std::unique_ptr<QAudioSink> sink_;
    QBuffer buffer_;
    QElapsedTimer requested_;
    QTimer release_; // frees the output once its own buffer has played out
    int startedCount_ = 0;
    qint64 lastStartDelay_ = -1;
    bool reportedStart_ = false;
    bool reportedEnd_ = false;
};

// Converts 16-bit mono samples to the interleaved bytes of another rate,
// channel count and sample format (UInt8, Int16, Int32 or Float). Empty when
// the format is none of those.
QByteArray ConvertSamples(const std::vector<std::int16_t>& samples, int fromRate, int toRate, int channels,
                          int sampleFormat);

} // namespace quillory
