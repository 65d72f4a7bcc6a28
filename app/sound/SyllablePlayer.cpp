#include "app/sound/SyllablePlayer.h"

#include "dictionary/sounds/Resample.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>
#include <cstring>

namespace quillory {

namespace {

QAudioFormat MonoFormat(int sampleRate) {
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

template <typename T> void AppendNative(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

} // namespace

QByteArray ConvertSamples(const std::vector<std::int16_t>& samples, int fromRate, int toRate, int channels,
                          int sampleFormat) {
    const auto format = QAudioFormat::SampleFormat(sampleFormat);
    if (channels <= 0 || (format != QAudioFormat::UInt8 && format != QAudioFormat::Int16 &&
                          format != QAudioFormat::Int32 && format != QAudioFormat::Float))
        return {};
    const std::vector<std::int16_t> resampled = Resample(samples, fromRate, toRate);
    QByteArray out;
    out.reserve(qsizetype(resampled.size() * std::size_t(channels) * 4));
    for (const std::int16_t value : resampled) {
        for (int c = 0; c < channels; ++c) {
            switch (format) {
            case QAudioFormat::UInt8:
                out.append(char(std::uint8_t((value >> 8) + 128)));
                break;
            case QAudioFormat::Int16:
                AppendNative(out, value);
                break;
            case QAudioFormat::Int32:
                AppendNative(out, std::int32_t(value) * 65536);
                break;
            default:
                AppendNative(out, float(value) / 32768.0f);
                break;
            }
        }
    }
    return out;
}

SyllablePlayer::SyllablePlayer(QObject* parent) : QObject(parent) {
    release_.setSingleShot(true);
    connect(&release_, &QTimer::timeout, this, &SyllablePlayer::Stop);
}

SyllablePlayer::~SyllablePlayer() {
    Stop();
}

bool SyllablePlayer::Play(const std::vector<std::int16_t>& samples, int sampleRate) {
    Stop();
    if (samples.empty() || sampleRate <= 0)
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;

    QAudioFormat format = MonoFormat(sampleRate);
    QByteArray pcm;
    if (device.isFormatSupported(format)) {
        pcm = QByteArray(reinterpret_cast<const char*>(samples.data()), qsizetype(samples.size() * 2));
    } else {
        format = device.preferredFormat();
        pcm = ConvertSamples(samples, sampleRate, format.sampleRate(), format.channelCount(),
                             int(format.sampleFormat()));
        if (pcm.isEmpty())
            return false;
    }

    buffer_.setData(pcm);
    if (!buffer_.open(QIODevice::ReadOnly))
        return false;
    sink_ = std::make_unique<QAudioSink>(device, format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, &SyllablePlayer::onStateChanged);
    requested_.start();
    reportedStart_ = false;
    reportedEnd_ = false;
    lastStartDelay_ = -1;
    sink_->start(&buffer_);
    if (sink_->error() != QAudio::NoError) {
        Stop();
        return false;
    }
    onStateChanged(); // some outputs are active before they signal it
    return true;
}

void SyllablePlayer::Stop() {
    release_.stop();
    if (sink_) {
        // Disconnect first: the stop itself must not report an ending.
        sink_->disconnect(this);
        sink_->stop();
        sink_.reset();
    }
    buffer_.close();
}

bool SyllablePlayer::isPlaying() const {
    return sink_ && sink_->state() == QAudio::ActiveState;
}

void SyllablePlayer::onStateChanged() {
    if (!sink_)
        return;
    const QAudio::State state = sink_->state();
    if (state == QAudio::ActiveState && !reportedStart_) {
        reportedStart_ = true;
        ++startedCount_;
        lastStartDelay_ = requested_.elapsed();
        emit started(lastStartDelay_);
    } else if (state == QAudio::IdleState && reportedStart_ && !reportedEnd_ && buffer_.atEnd()) {
        // Every byte was handed to the output; what it still buffers plays
        // out before the output is released (never inside its own signal).
        reportedEnd_ = true;
        const qint64 buffered = sink_->format().durationForBytes(sink_->bufferSize()) / 1000;
        release_.start(int(std::clamp<qint64>(buffered, 0, 2000)) + 50);
        emit finished();
    } else if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
        release_.start(0);
    }
}

} // namespace quillory
