#include "datagen/strokes/StrokeStoreWriter.h"

#include "stroke/model/StrokeOrderRecord.h"
#include "stroke/records/StrokeOrderFormat.h"

namespace quillory::datagen {

QByteArray BuildStrokeOrderStore(const std::vector<StrokeCharacter>& characters,
                                 std::vector<RangeEntry>& index) {
    QByteArray store;
    int inChunk = 0;
    for (const StrokeCharacter& character : characters) {
        if (character.code > 0xFFFF)
            continue;
        if (inChunk == stroke::kStrokeCharactersPerChunk)
            inChunk = 0;
        if (inChunk++ == 0)
            index.push_back({std::uint16_t(character.code), 0, std::uint32_t(store.size())});
        index.back().high = std::uint16_t(character.code);
        const std::size_t count = std::min<std::size_t>(character.contours.size(), stroke::kMaxStrokeEntries);
        store.append(char(character.code & 0xFF));
        store.append(char(character.code >> 8));
        store.append(char(count));
        // Each source stroke is one contour, so no entry continues the one before.
        for (std::size_t i = 0; i < count; ++i) {
            store.append(char(i));
            store.append(char(character.directions[i] & stroke::kDirectionBits));
        }
    }
    return store;
}

} // namespace quillory::datagen
