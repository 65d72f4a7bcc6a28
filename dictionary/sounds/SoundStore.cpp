#include "dictionary/sounds/SoundStore.h"

#include "dictionary/sounds/SoundFileFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <memory>
#include <opus/opus.h>

namespace quillory {

namespace {

std::uint32_t KeyOf(Scheme scheme, SyllableId id) {
    return (static_cast<std::uint32_t>(scheme) << 16) | id;
}

std::uint16_t ReadU16(const char* at) {
    return qFromLittleEndian<std::uint16_t>(at);
}
std::uint32_t ReadU32(const char* at) {
    return qFromLittleEndian<std::uint32_t>(at);
}

} // namespace

bool SoundStore::fail(const QString& message) {
    Close();
    error_ = message;
    return false;
}

void SoundStore::Close() {
    data_.clear(); // before the mapping it may point into goes
    entries_.clear();
    file_.reset();
    open_ = false;
}

bool SoundStore::Open(const QString& path) {
    Close();
    error_.clear();

    file_ = std::make_unique<QFile>(path);
    if (!file_->open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot open %1: %2").arg(path, file_->errorString()));
    // Only a regular file has a size to trust: a device or a pipe reads as
    // size 0 and could be read without end.
    if (file_->isSequential() || !QFileInfo(*file_).isFile())
        return fail(QStringLiteral("%1 is no regular file").arg(path));
    const qint64 fileSize = file_->size();
    if (fileSize > 0xFFFFFFFFLL)
        return fail(QStringLiteral("%1 is too large for a sound archive").arg(path));
    if (uchar* mapped = fileSize > 0 ? file_->map(0, fileSize) : nullptr)
        data_ = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(fileSize));
    else
        data_ = file_->read(fileSize);
    const qint64 size = data_.size();
    if (size < soundfile::kHeaderSize)
        return fail(QStringLiteral("%1 is too short for a sound archive").arg(path));
    const char* base = data_.constData();
    if (std::memcmp(base, soundfile::kMagic, sizeof soundfile::kMagic) != 0)
        return fail(QStringLiteral("%1 is not a sound archive").arg(path));
    if (ReadU16(base + 4) != soundfile::kVersion)
        return fail(QStringLiteral("%1 has an unknown sound archive version").arg(path));
    if (ReadU32(base + 12) != soundfile::kSampleRate)
        return fail(QStringLiteral("%1 has an unexpected sample rate").arg(path));
    preSkip_ = ReadU16(base + 6);

    const std::uint32_t count = ReadU32(base + 8);
    const qint64 dataStart = soundfile::kHeaderSize + qint64(count) * soundfile::kEntrySize;
    if (dataStart > size)
        return fail(QStringLiteral("%1: the sound index runs past the end of the file").arg(path));

    entries_.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const char* at = base + soundfile::kHeaderSize + qint64(i) * soundfile::kEntrySize;
        const auto scheme = static_cast<std::uint8_t>(at[0]);
        if (scheme > static_cast<std::uint8_t>(Scheme::Jyutping))
            return fail(QStringLiteral("%1: sound entry %2 has an unknown scheme").arg(path).arg(i));
        const Entry entry{(std::uint32_t(scheme) << 16) | ReadU16(at + 2), ReadU32(at + 4), ReadU32(at + 8),
                          ReadU32(at + 12)};
        if (entry.offset < dataStart || qint64(entry.offset) + entry.bytes > size)
            return fail(QStringLiteral("%1: sound entry %2 lies outside the file").arg(path).arg(i));
        if (entry.count > soundfile::kMaxSamples)
            return fail(QStringLiteral("%1: sound entry %2 is too long").arg(path).arg(i));
        if (!entries_.empty() && entries_.back().key >= entry.key)
            return fail(QStringLiteral("%1: the sound index is not sorted").arg(path));
        entries_.push_back(entry);
    }
    open_ = true;
    return true;
}

const SoundStore::Entry* SoundStore::find(Scheme scheme, SyllableId id) const {
    const std::uint32_t key = KeyOf(scheme, id);
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [](const Entry& entry, std::uint32_t k) { return entry.key < k; });
    if (it == entries_.end() || it->key != key)
        return nullptr;
    return &*it;
}

bool SoundStore::has(Scheme scheme, SyllableId id) const {
    return find(scheme, id) != nullptr;
}

std::optional<std::vector<std::int16_t>> SoundStore::samples(Scheme scheme, SyllableId id) const {
    const Entry* entry = find(scheme, id);
    if (entry == nullptr)
        return std::nullopt;
    // Bounds were checked on open; the packets inside are checked here.
    const char* at = data_.constData() + entry->offset;
    const char* const end = at + entry->bytes;
    const std::size_t wanted = std::size_t(preSkip_) + entry->count;

    int status = OPUS_OK;
    const std::unique_ptr<OpusDecoder, void (*)(OpusDecoder*)> decoder(
        opus_decoder_create(int(soundfile::kSampleRate), 1, &status), opus_decoder_destroy);
    if (status != OPUS_OK || !decoder)
        return std::nullopt;
    std::vector<std::int16_t> pcm;
    pcm.reserve(wanted + soundfile::kFrameSamples);
    opus_int16 frame[soundfile::kFrameSamples];
    while (pcm.size() < wanted) {
        if (end - at < 2)
            return std::nullopt;
        const std::uint16_t length = ReadU16(at);
        at += 2;
        if (length == 0 || end - at < length)
            return std::nullopt;
        const int decoded = opus_decode(decoder.get(), reinterpret_cast<const unsigned char*>(at),
                                        opus_int32(length), frame, soundfile::kFrameSamples, 0);
        if (decoded <= 0)
            return std::nullopt;
        pcm.insert(pcm.end(), frame, frame + decoded);
        at += length;
    }
    pcm.erase(pcm.begin(), pcm.begin() + preSkip_);
    pcm.resize(entry->count);
    return pcm;
}

} // namespace quillory
