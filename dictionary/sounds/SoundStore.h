#pragma once
// Read access to "sounds.dat": locates a syllable's recording through the
// sorted index and decodes it to PCM for playing. The
// file is mapped into memory, so only the recordings played are read.
// Every index entry is checked on open, so a damaged file is refused as a
// whole instead of being read out of bounds later.
#include "dictionary/text/Romanisation.h"
#include "dictionary/sounds/SoundFileFormat.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quillory {

class SoundStore {
public:
    SoundStore() = default;
    SoundStore(const SoundStore&) = delete;
    SoundStore& operator=(const SoundStore&) = delete;

    // Maps and checks the archive; on failure the store stays empty and
    // error() says why.
    bool Open(const QString& path);
    void Close();
    bool isOpen() const { return open_; }
    const QString& error() const { return error_; }
    std::size_t size() const { return entries_.size(); }

    static constexpr int sampleRate() { return int(soundfile::kSampleRate); }
    bool has(Scheme scheme, SyllableId id) const;
    // Decoded 16 kHz mono samples; nullopt when the syllable has no recording.
    std::optional<std::vector<std::int16_t>> samples(Scheme scheme, SyllableId id) const;

private:
    struct Entry {
        std::uint32_t key; // scheme << 16 | id
        std::uint32_t offset;
        std::uint32_t bytes;
        std::uint32_t count; // samples
    };
    const Entry* find(Scheme scheme, SyllableId id) const;
    bool fail(const QString& message);

    std::unique_ptr<QFile> file_;
    QByteArray data_; // the mapped file, or its copy where mapping fails
    std::vector<Entry> entries_;
    std::uint16_t preSkip_ = 0;
    QString error_;
    bool open_ = false;
};

} // namespace quillory
