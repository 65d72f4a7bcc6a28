// The index oxa.dat: loaded from the bytes, then every look-up the pages
// make. An even first byte takes the rest as the file itself; an odd one
// takes it as the inflated index, which is given its true length and check
// bytes and packed as the data compiler packs it (stored, padded to the
// least file size), so that mutations reach the sections behind the
// inflate and checksum tests.
#include "datagen/writers/IndexWriter.h"
#include "dictionary/files/DataFormat.h"
#include "dictionary/files/DataIndex.h"
#include "tests/fuzz/FuzzInput.h"

#include <QBuffer>

using namespace quillory;

namespace {

QByteArray PackedIndex(QByteArray index) {
    index = index.left(kIndexMaxSize - 64);
    if (index.size() < kIndexMinFileSize)
        index.append(QByteArray(kIndexMinFileSize - index.size(), '\0'));
    index[0] = char(index.size() >> 8);
    index[1] = char(index.size() & 0xFF);
    const IndexCheckBytes check = ComputeIndexCheckBytes(index);
    index[kIndexCheckAOffset] = char(check.a);
    index[kIndexCheckBOffset] = char(check.b);
    constexpr std::uint16_t kAnyDataVersion = 0x0102;
    return datagen::PackIndexFile(index, kAnyDataVersion, 0);
}

// The first, middle and last items of a list, as clicks look them up (the
// whole list on every input would slow the fuzzing a hundredfold).
template <typename T> std::vector<T> Sampled(const std::vector<T>& items) {
    if (items.empty())
        return {};
    return {items.front(), items[items.size() / 2], items.back()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor input(fuzz::InputBytes(data, size));
    QByteArray bytes = input.TakeByte() % 2 == 0 ? input.rest() : PackedIndex(input.rest());
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    RecordingReporter reporter;
    DataIndex index(reporter);
    if (!index.LoadDataIndex(file))
        return 0;
    index.dataVersion();
    for (const SyllableId id : Sampled(index.PinyinSyllables())) {
        index.FindPinyinChunk(id);
        index.HasPinyinSound(id);
    }
    for (const SyllableId id : Sampled(index.JyutpingSyllables())) {
        index.FindJyutpingChunk(id);
        index.HasJyutpingSound(id);
    }
    for (const std::uint8_t count : Sampled(index.StrokeCounts()))
        index.FindStrokeCountChunk(count);
    index.FindStrokeCountChunk(255);
    index.FindRadicalChunk("1.0");
    index.FindRadicalChunk("168'.3");
    index.FindRadicalChunk("214.99");
    index.FindStrokeOrderChunk(0x4E2D);
    index.FindStrokeOrderChunk(0x10FFFF);
    index.RadicalTableText();
    return 0;
}
