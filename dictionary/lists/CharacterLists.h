#pragma once
// Characters by Pinyin, Jyutping, stroke count and radical: the chunk found
// through the index is read, unscrambled and inflated, and the matching
// record picked. Also the radical key order and the radical table lines.
#include "dictionary/lists/CharacterList.h"
#include "dictionary/files/ChunkRef.h"
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataIndex.h"
#include "dictionary/text/DataFaults.h"
#include "pages/builders/ListPageBuilder.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>

namespace quillory {

// Order of RadicalKey texts ("2.3", "168'.0"): radical number, plain before
// variant, residual strokes. Returns -1, 0 or 1.
int CompareRadicalKeys(const QByteArray& a, const QByteArray& b);

struct RadicalLine {
    int value = 0; // radical number + 0x100 for the variant form; 0 = no line
    QString forms; // forms in U+4E00..U+9FA5 separated by blanks, see below
    int count = 0; // number of forms in range
};
RadicalLine ParseRadicalLine(const QString& line);

// The tokens of the first radical-table line that starts with head ("2.0",
// "168'."), trimmed: the text after the line's tab. Only a match at a line
// start counts, so "2.0" never matches inside "12.0". nullopt when no line
// starts so or the line has no tab.
std::optional<QString> RadicalLineTokens(const QString& table, const QString& head);

class CharacterLists {
public:
    // A chunk that fails its checks is noted in faults (when given) as well as
    // read as empty, so that callers can tell damage from an empty list.
    CharacterLists(DataFiles& files, const DataIndex& index, DataFaults* faults = nullptr);

    CharacterList CharactersByPinyin(const std::string& syllable, const ChunkRef& ref);
    CharacterList CharactersByJyutping(const std::string& syllable, const ChunkRef& ref);
    CharacterList CharactersByStrokeCount(int count, const ChunkRef& ref);
    CharacterList CharactersByRadical(const QByteArray& radicalKey, const ChunkRef& ref);

    // Each fills the page through the builder and sets the title that the
    // search box and the history show.
    bool ListByPinyin(SyllableId id, ListPageBuilder& page, QString& title);
    bool ListByJyutping(SyllableId id, ListPageBuilder& page, QString& title);
    bool ListByStrokeCount(int count, ListPageBuilder& page, QString& title);
    bool ListByRadical(int radicalValue, ListPageBuilder& page, QString& title);

private:
    enum class RecordMatch { Match, Skip, Stop };
    using RecordMatcher = std::function<RecordMatch(std::uint32_t key)>;

    // Reads, unscrambles and inflates the chunk and returns the values of the
    // first record the matcher accepts; empty when no record matches, and
    // empty with the fault noted when the chunk fails a check.
    CharacterList ReadChunk(ListFile file, const QByteArray& chunkKey, const ChunkRef& ref,
                            const RecordMatcher& matches);
    CharacterList Damaged(QFile& file, const char* what);
    CharacterList CharactersBySyllable(ListFile file, const std::string& syllable, const ChunkRef& ref);
    bool ListBySyllable(ListFile file, SyllableId id, ListPageBuilder& page);

    DataFiles& files_;
    const DataIndex& index_;
    DataFaults* faults_;
    std::minstd_rand leadIn_; // picks the random lead-in read before a chunk
};

} // namespace quillory
