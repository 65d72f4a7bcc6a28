#pragma once
// The dictionary index (oxa.dat): read, unscrambled, inflated and checked
// once, then searched linearly for every look-up.
#include "dictionary/files/ChunkRef.h"
#include "dictionary/text/MessageReporter.h"
#include "dictionary/text/Romanisation.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillory {

class DataIndex {
public:
    explicit DataIndex(MessageReporter& reporter);

    // Reads the index from the start of the device, checks it and keeps it.
    // False (with the described messages for length and checksum faults)
    // leaves no index loaded.
    bool LoadDataIndex(QIODevice& file);
    bool isLoaded() const;

    QString dataVersion() const; // "%04X"

    std::vector<SyllableId> PinyinSyllables() const;
    std::vector<SyllableId> JyutpingSyllables() const;
    std::vector<std::uint8_t> StrokeCounts() const;
    QString RadicalTableText() const;

    bool HasPinyinSound(SyllableId id) const;
    bool HasJyutpingSound(SyllableId id) const;
    std::optional<ChunkRef> FindPinyinSoundChunk(SyllableId id) const;
    std::optional<ChunkRef> FindJyutpingSoundChunk(SyllableId id) const;
    std::optional<ChunkRef> FindStrokeOrderChunk(std::uint32_t codePoint) const;
    std::optional<ChunkRef> FindStrokeCountChunk(int count) const;
    std::optional<ChunkRef> FindPinyinChunk(SyllableId id) const;
    std::optional<ChunkRef> FindJyutpingChunk(SyllableId id) const;
    std::optional<ChunkRef> FindRadicalChunk(const QByteArray& radicalKey) const;

private:
    MessageReporter& reporter_;
    QByteArray index_; // the inflated DataIndex; empty when none is loaded
    QString radicalTable_;
    std::uint16_t version_ = 0;
};

} // namespace quillory
