// A list file (ghi.dat, ijk.dat, jkl.dat, hij.dat) and the index entry that
// points into it. The input's head is the entry: one byte choosing the file,
// the low and high bounds (16-bit, little endian), for the radical file the
// two bound texts (each ended by a zero byte), the chunk's position in the
// file (16-bit) and its length (32-bit, 0 for "to the end of the file"); the
// rest is the file. The look-up asks for the entry's low bound, as a click on
// the first item of that chunk does.
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataIndex.h"
#include "dictionary/lists/CharacterLists.h"
#include "tests/fuzz/FuzzInput.h"

#include <array>

using namespace quillory;

namespace {

const std::array<QString, 4> kListFileNames = {QStringLiteral("ghi.dat"), QStringLiteral("ijk.dat"),
                                               QStringLiteral("jkl.dat"), QStringLiteral("hij.dat")};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor input(fuzz::InputBytes(data, size));
    const auto which = ListFile(input.TakeByte() % 4);
    ChunkRef ref;
    ref.low = input.TakeU16();
    ref.high = input.TakeU16();
    if (which == ListFile::Radical) {
        ref.lowText = input.TakeText();
        ref.highText = input.TakeText();
    }
    ref.position = input.TakeU16();
    const std::uint32_t length = input.TakeU16() | std::uint32_t(input.TakeU16()) << 16;
    ref.nextPosition = length == 0 ? 0 : ref.position + length;

    // Every list file exists (empty but the one read), as in a data folder.
    for (std::size_t i = 0; i < kListFileNames.size(); ++i)
        fuzz::WriteScratchFile(kListFileNames[i], i == std::size_t(which) ? input.rest() : QByteArray());
    fuzz::WriteScratchFile(QStringLiteral("oxa.dat"), QByteArray());
    RecordingReporter reporter;
    DataFiles files(fuzz::ScratchFolder().path(), reporter);
    files.OpenDataFiles();
    DataIndex index(reporter);
    DataFaults faults;
    CharacterLists lists(files, index, &faults);
    switch (which) {
    case ListFile::Pinyin:
        if (const auto syllable = DecodeSyllable(ref.low, Scheme::Pinyin))
            lists.CharactersByPinyin(*syllable, ref);
        break;
    case ListFile::Jyutping:
        if (const auto syllable = DecodeSyllable(ref.low, Scheme::Jyutping))
            lists.CharactersByJyutping(*syllable, ref);
        break;
    case ListFile::StrokeCount:
        lists.CharactersByStrokeCount(ref.low, ref);
        break;
    case ListFile::Radical:
        lists.CharactersByRadical(ref.lowText, ref);
        break;
    }
    return 0;
}
