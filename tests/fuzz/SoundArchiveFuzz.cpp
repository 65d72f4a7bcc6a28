// The sound archive sounds.dat: opened from a file, then the first few
// syllables its index names decoded, as clicks on their speakers do.
#include "dictionary/sounds/SoundStore.h"
#include "tests/fuzz/FuzzInput.h"

#include <QtEndian>

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::InputBytes(data, size);
    SoundStore store;
    if (!store.Open(fuzz::WriteScratchFile(QStringLiteral("sounds.dat"), bytes)))
        return 0;
    constexpr int kPlayed = 4;
    for (int i = 0; i < kPlayed; ++i) {
        const qsizetype entry = soundfile::kHeaderSize + qsizetype(i) * soundfile::kEntrySize;
        if (entry + 4 > bytes.size())
            break;
        const Scheme scheme = bytes[entry] == 0 ? Scheme::Pinyin : Scheme::Jyutping;
        const auto id = qFromLittleEndian<SyllableId>(bytes.constData() + entry + 2);
        if (store.has(scheme, id))
            store.samples(scheme, id);
    }
    return 0;
}
