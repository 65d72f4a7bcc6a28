#include "datagen/writers/ListFileWriter.h"

#include "dictionary/files/DataFormat.h"
#include "dictionary/lists/CharacterList.h"
#include "dictionary/lists/ListChunkFormat.h"

#include <QDir>
#include <QSaveFile>
#include <zlib.h>

#include <algorithm>
#include <compare>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>

namespace quillory::datagen {

namespace {

// Inflated bytes gathered into one chunk before it is closed: a look-up then
// reads and inflates only a few KB. The stroke-count file has far fewer,
// larger records and positions limited to 16 bits, so its chunks are larger.
constexpr int kChunkTarget = 8192;
constexpr int kStrokeChunkTarget = 20480;
constexpr qint64 kStrokePositionLimit = 65536;

struct Record {
    std::uint32_t key = 0;
    CharacterList values;
};

struct Chunk {
    std::size_t first = 0; // index of its first and last record
    std::size_t last = 0;
    std::uint32_t position = 0;
};

using ChunkKeyFor = std::function<ChunkKey(const Record& first, const Record& last)>;

void SetError(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
}

// Groups consecutive records into chunks, compresses and scrambles each and
// appends it to the file image.
bool WriteChunks(ListFile file, const QString& fileName, const std::vector<Record>& records, int target,
                 const ChunkKeyFor& keyFor, QByteArray& image, std::vector<Chunk>& chunks, QString* error) {
    const std::size_t window = static_cast<std::size_t>(RecordWindow(file));
    std::size_t next = 0;
    while (next < records.size()) {
        Chunk chunk;
        chunk.first = next;
        QByteArray inflated;
        while (next < records.size()) {
            const std::size_t size = RecordSize(static_cast<std::uint32_t>(records[next].values.size()));
            if (size > window) {
                SetError(error,
                         QStringLiteral("%1: a record of %2 values exceeds the record window of %3 bytes")
                             .arg(fileName)
                             .arg(records[next].values.size())
                             .arg(window));
                return false;
            }
            if (next > chunk.first && inflated.size() + static_cast<qsizetype>(size) > target) {
                break;
            }
            AppendRecord(file, records[next].key, records[next].values, inflated);
            ++next;
        }
        chunk.last = next - 1;
        if (inflated.size() > kInflatedChunkCapacity) {
            SetError(error, QStringLiteral("%1: a chunk inflates to %2 bytes, more than %3")
                                .arg(fileName)
                                .arg(inflated.size())
                                .arg(kInflatedChunkCapacity));
            return false;
        }
        uLongf compressedSize = compressBound(static_cast<uLong>(inflated.size()));
        QByteArray compressed(static_cast<qsizetype>(compressedSize), Qt::Uninitialized);
        if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &compressedSize,
                      reinterpret_cast<const Bytef*>(inflated.constData()),
                      static_cast<uLong>(inflated.size()), Z_BEST_COMPRESSION) != Z_OK) {
            SetError(error, QStringLiteral("%1: compression failed").arg(fileName));
            return false;
        }
        compressed.truncate(static_cast<qsizetype>(compressedSize));
        if (compressed.size() > kMaxChunkBytes) {
            SetError(error, QStringLiteral("%1: a chunk compresses to %2 bytes, more than %3")
                                .arg(fileName)
                                .arg(compressed.size())
                                .arg(kMaxChunkBytes));
            return false;
        }
        ScrambleChunk(compressed.data(), static_cast<std::size_t>(compressed.size()),
                      keyFor(records[chunk.first], records[chunk.last]));
        chunk.position = static_cast<std::uint32_t>(image.size());
        image.append(compressed);
        chunks.push_back(chunk);
    }
    return true;
}

bool SaveFile(const QString& path, const QByteArray& image, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void AddUnique(CharacterList& list, std::uint32_t code) {
    if (std::find(list.begin(), list.end(), code) == list.end()) {
        list.push_back(code);
    }
}

// Characters of every toned syllable, keyed by the syllable's own text so that
// records come out in byte order of their texts.
struct SyllableGroups {
    std::map<std::string, Record> bySyllable;
    int skipped = 0;
};

SyllableGroups GroupBySyllable(const SourceData& source, Scheme scheme, std::set<std::uint32_t>& listed) {
    SyllableGroups groups;
    for (const auto& [code, character] : source.characters) {
        if (!IsIdeograph(code)) {
            continue;
        }
        const std::vector<std::string>& readings =
            scheme == Scheme::Pinyin ? character.pinyin : character.jyutping;
        for (const std::string& reading : readings) {
            const std::optional<SyllableId> id = EncodeSyllable(reading, scheme);
            const std::optional<std::string> text = id ? DecodeSyllable(*id, scheme) : std::nullopt;
            if (!text) {
                ++groups.skipped;
                continue;
            }
            Record& record = groups.bySyllable[*text];
            record.key = *id;
            AddUnique(record.values, code);
            listed.insert(code);
        }
    }
    return groups;
}

// Syllables for the category tree: by text without tone, then by tone.
std::vector<SyllableId> TreeOrder(const SyllableGroups& groups) {
    std::vector<std::pair<std::string, SyllableId>> order;
    for (const auto& [text, record] : groups.bySyllable) {
        order.emplace_back(text, static_cast<SyllableId>(record.key));
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        const std::string_view bareA(a.first.data(), a.first.size() - 1);
        const std::string_view bareB(b.first.data(), b.first.size() - 1);
        return std::tie(bareA, a.first.back()) < std::tie(bareB, b.first.back());
    });
    std::vector<SyllableId> ids;
    for (const auto& entry : order) {
        ids.push_back(entry.second);
    }
    return ids;
}

bool WriteSyllableFile(ListFile file, const QString& path, const SyllableGroups& groups,
                       std::vector<RangeEntry>& entries, qint64& fileSize, int& chunkCount, QString* error) {
    const Scheme scheme = file == ListFile::Jyutping ? Scheme::Jyutping : Scheme::Pinyin;
    std::vector<Record> records;
    for (const auto& entry : groups.bySyllable) {
        records.push_back(entry.second);
    }
    auto keyFor = [&](const Record& first, const Record& last) {
        return SyllableChunkKey(
            file, QByteArray::fromStdString(*DecodeSyllable(static_cast<SyllableId>(first.key), scheme)),
            QByteArray::fromStdString(*DecodeSyllable(static_cast<SyllableId>(last.key), scheme)));
    };
    QByteArray image;
    std::vector<Chunk> chunks;
    if (!WriteChunks(file, path, records, kChunkTarget, keyFor, image, chunks, error)) {
        return false;
    }
    entries.clear();
    for (const Chunk& chunk : chunks) {
        entries.push_back({static_cast<std::uint16_t>(records[chunk.first].key),
                           static_cast<std::uint16_t>(records[chunk.last].key), chunk.position});
    }
    fileSize = image.size();
    chunkCount += static_cast<int>(chunks.size());
    return SaveFile(path, image, error);
}

bool WriteStrokeFile(const SourceData& source, const QString& path, IndexContent& index,
                     ListFilesStats& stats, std::set<std::uint32_t>& listed, QString* error) {
    std::map<int, CharacterList> byCount;
    for (const auto& [code, character] : source.characters) {
        if (IsIdeograph(code) && character.strokes > 0 && character.strokes <= 255) {
            byCount[character.strokes].push_back(code);
            listed.insert(code);
        }
    }
    std::vector<Record> records;
    index.strokeCounts.clear();
    for (auto& [count, codes] : byCount) {
        records.push_back({static_cast<std::uint32_t>(count), codes});
        index.strokeCounts.push_back(static_cast<std::uint8_t>(count));
    }
    auto keyFor = [](const Record& first, const Record& last) {
        return StrokeCountChunkKey(static_cast<int>(first.key), static_cast<int>(last.key));
    };
    QByteArray image;
    std::vector<Chunk> chunks;
    if (!WriteChunks(ListFile::StrokeCount, path, records, kStrokeChunkTarget, keyFor, image, chunks,
                     error)) {
        return false;
    }
    index.strokeCountChunks.clear();
    for (const Chunk& chunk : chunks) {
        // The stroke-count index holds 16-bit positions.
        if (chunk.position >= kStrokePositionLimit) {
            SetError(error,
                     QStringLiteral("%1: a chunk starts at %2, beyond the 16-bit positions of its index")
                         .arg(path)
                         .arg(chunk.position));
            return false;
        }
        index.strokeCountChunks.push_back({static_cast<std::uint8_t>(records[chunk.first].key),
                                           static_cast<std::uint8_t>(records[chunk.last].key),
                                           static_cast<std::uint16_t>(chunk.position)});
    }
    stats.strokeCounts = static_cast<int>(records.size());
    stats.strokeFileSize = image.size();
    stats.chunks += static_cast<int>(chunks.size());
    return SaveFile(path, image, error);
}

struct RadicalId {
    int radical = 0;
    bool variant = false;
    auto operator<=>(const RadicalId&) const = default;
};

struct RadicalText {
    RadicalId id;
    int residual = 0;
};

// "2.3", "168'.0", "96.-1"; nullopt for anything else.
std::optional<RadicalText> ParseRadicalText(const QString& text) {
    const qsizetype dot = text.indexOf(u'.');
    if (dot <= 0) {
        return std::nullopt;
    }
    QString head = text.left(dot).trimmed();
    RadicalText parsed;
    if (head.endsWith(u'\'')) {
        parsed.id.variant = true;
        head.chop(1);
    }
    bool numberOk = false;
    bool residualOk = false;
    parsed.id.radical = head.toInt(&numberOk);
    parsed.residual = text.mid(dot + 1).trimmed().toInt(&residualOk);
    if (!numberOk || !residualOk || parsed.id.radical < 1 || parsed.id.radical > 255) {
        return std::nullopt;
    }
    return parsed;
}

struct RadicalGroups {
    std::map<RadicalId, CharacterList> forms; // from the radical list only
    std::map<RadicalId, std::map<int, CharacterList>> byResidual;
};

bool GroupByRadical(const SourceData& source, RadicalGroups& groups, std::set<std::uint32_t>& listed,
                    QString* error) {
    for (const auto& [key, codes] : source.radicalForms) {
        const std::optional<RadicalText> parsed = ParseRadicalText(key + QStringLiteral(".0"));
        if (!parsed) {
            continue;
        }
        CharacterList& forms = groups.forms[parsed->id];
        for (std::uint32_t code : codes) {
            if (code > kRadicalFormLimit) {
                AddUnique(forms, code);
            }
        }
    }
    for (const auto& [code, character] : source.characters) {
        if (!IsIdeograph(code) || character.radical.isEmpty()) {
            continue;
        }
        const std::optional<RadicalText> parsed = ParseRadicalText(character.radical);
        if (!parsed) {
            continue;
        }
        if (parsed->residual > static_cast<int>(kRadicalFormLimit)) {
            SetError(error,
                     QStringLiteral("U+%1: residual stroke count %2 cannot be listed in the radical table")
                         .arg(code, 4, 16, QChar(u'0'))
                         .arg(parsed->residual));
            return false;
        }
        // The radical's own characters (residual 0) and the few characters
        // that Unihan counts as the radical less a stroke or two (王 96.-1)
        // make the first group, residual 0. The forms stay those of the
        // radical list.
        groups.byResidual[parsed->id][std::max(parsed->residual, 0)].push_back(code);
        listed.insert(code);
    }
    return true;
}

QByteArray RadicalTableText(const RadicalGroups& groups) {
    std::set<RadicalId> radicals;
    for (const auto& entry : groups.forms) {
        radicals.insert(entry.first);
    }
    for (const auto& entry : groups.byResidual) {
        radicals.insert(entry.first);
    }
    QByteArray table;
    for (const RadicalId& id : radicals) {
        QByteArrayList tokens;
        if (auto forms = groups.forms.find(id); forms != groups.forms.end()) {
            for (std::uint32_t code : forms->second) {
                tokens.append(QByteArray::number(code, 16).toUpper());
            }
        }
        if (auto residuals = groups.byResidual.find(id); residuals != groups.byResidual.end()) {
            for (const auto& entry : residuals->second) {
                tokens.append(QByteArray::number(entry.first, 16).toUpper());
            }
        }
        if (tokens.isEmpty()) {
            continue;
        }
        table += QByteArray::number(id.radical) + (id.variant ? "'.0\t" : ".0\t") + tokens.join(' ') + '\n';
    }
    return table;
}

bool WriteRadicalFile(const RadicalGroups& groups, const QString& path, IndexContent& index,
                      ListFilesStats& stats, QString* error) {
    // Map order is radical number, plain before variant, residual: the order
    // of their RadicalKey texts.
    std::vector<Record> records;
    for (const auto& [id, byResidual] : groups.byResidual) {
        for (const auto& [residual, codes] : byResidual) {
            records.push_back({RadicalRecordKey(id.radical, id.variant, residual), codes});
        }
    }
    auto keyFor = [](const Record& first, const Record& last) {
        return RadicalChunkKey(RadicalKeyText(first.key), RadicalKeyText(last.key));
    };
    QByteArray image;
    std::vector<Chunk> chunks;
    if (!WriteChunks(ListFile::Radical, path, records, kChunkTarget, keyFor, image, chunks, error)) {
        return false;
    }
    index.radicalChunks.clear();
    for (const Chunk& chunk : chunks) {
        index.radicalChunks.push_back({RadicalKeyText(records[chunk.first].key),
                                       RadicalKeyText(records[chunk.last].key), chunk.position});
    }
    index.radicalTable = RadicalTableText(groups);
    stats.radicalKeys = static_cast<int>(records.size());
    stats.radicals = static_cast<int>(index.radicalTable.count('\n'));
    stats.radicalFileSize = image.size();
    stats.chunks += static_cast<int>(chunks.size());
    return SaveFile(path, image, error);
}

} // namespace

bool WriteListFiles(const SourceData& source, const QString& outDir, IndexContent& index, QString* error,
                    ListFilesStats* stats) {
    if (!QDir().mkpath(outDir)) {
        SetError(error, QStringLiteral("Cannot create %1").arg(outDir));
        return false;
    }
    const QDir dir(outDir);
    ListFilesStats counts;
    std::set<std::uint32_t> listed;

    if (!WriteStrokeFile(source, dir.filePath(QStringLiteral("ghi.dat")), index, counts, listed, error)) {
        return false;
    }

    const SyllableGroups pinyin = GroupBySyllable(source, Scheme::Pinyin, listed);
    if (!WriteSyllableFile(ListFile::Pinyin, dir.filePath(QStringLiteral("ijk.dat")), pinyin,
                           index.pinyinChunks, counts.pinyinFileSize, counts.chunks, error)) {
        return false;
    }
    index.pinyinSyllables = TreeOrder(pinyin);

    const SyllableGroups jyutping = GroupBySyllable(source, Scheme::Jyutping, listed);
    if (!WriteSyllableFile(ListFile::Jyutping, dir.filePath(QStringLiteral("jkl.dat")), jyutping,
                           index.jyutpingChunks, counts.jyutpingFileSize, counts.chunks, error)) {
        return false;
    }
    index.jyutpingSyllables = TreeOrder(jyutping);

    RadicalGroups radicals;
    if (!GroupByRadical(source, radicals, listed, error) ||
        !WriteRadicalFile(radicals, dir.filePath(QStringLiteral("hij.dat")), index, counts, error)) {
        return false;
    }

    counts.characters = static_cast<int>(listed.size());
    counts.pinyinSyllables = static_cast<int>(index.pinyinSyllables.size());
    counts.jyutpingSyllables = static_cast<int>(index.jyutpingSyllables.size());
    counts.skippedReadings = pinyin.skipped + jyutping.skipped;
    if (stats) {
        *stats = counts;
    }
    return true;
}

} // namespace quillory::datagen
