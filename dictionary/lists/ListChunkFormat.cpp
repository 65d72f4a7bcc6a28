#include "dictionary/lists/ListChunkFormat.h"

#include <QCryptographicHash>
#include <array>
#include <cstdio>

namespace quillory {

namespace {

// Key texts, each formatted from its file's template with the entry's bounds.
constexpr char kPinyinKeyTemplate[] = "%s:%d!ijkq^%s;%d";
constexpr char kJyutpingKeyTemplate[] = "J%d_%s/jklz%s~%d";
constexpr char kStrokeKeyTemplate[] = "ghi%u-%u.Strk#xw";
constexpr char kRadicalKeyTemplate[] = "hij[%s|%d]{%s|%d}Rad!";
static_assert(sizeof(kPinyinKeyTemplate) - 1 == 16);
static_assert(sizeof(kJyutpingKeyTemplate) - 1 == 16);
static_assert(sizeof(kStrokeKeyTemplate) - 1 == 16);
static_assert(sizeof(kRadicalKeyTemplate) - 1 == 21);

// Formatted key texts stay far below this: bound texts are short syllables
// and radical keys; longer (corrupt) bounds are cut, which only changes the key.
constexpr int kKeyTextCapacity = 160;

ChunkKey DigestKeyText(const char* text) {
    QByteArray digest = QCryptographicHash::hash(QByteArray(text), QCryptographicHash::Md5);
    // A zero byte would leave its chunk bytes unscrambled.
    for (int i = 0; i < digest.size(); ++i) {
        if (digest[i] == 0) {
            digest[i] = static_cast<char>('0' + i);
        }
    }
    return digest;
}

enum class Mask { First, Second, Count };

// Which word masks value i, by i mod 3.
std::array<Mask, 3> MaskOrder(ListFile file) {
    switch (file) {
    case ListFile::Pinyin:
        return {Mask::First, Mask::Second, Mask::Count};
    case ListFile::Jyutping:
        return {Mask::Second, Mask::Count, Mask::First};
    case ListFile::StrokeCount:
        return {Mask::Second, Mask::First, Mask::Count};
    case ListFile::Radical:
        return {Mask::First, Mask::Count, Mask::Second};
    }
    return {Mask::First, Mask::Second, Mask::Count};
}

std::uint32_t MaskValue(Mask mask, std::uint32_t first, std::uint32_t count) {
    switch (mask) {
    case Mask::First:
        return first;
    case Mask::Second:
        return first ^ count;
    case Mask::Count:
        return count;
    }
    return 0;
}

std::uint32_t ReadWord(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void AppendWord(QByteArray& out, std::uint32_t word) {
    const char bytes[4] = {static_cast<char>(word & 0xFF), static_cast<char>((word >> 8) & 0xFF),
                           static_cast<char>((word >> 16) & 0xFF), static_cast<char>((word >> 24) & 0xFF)};
    out.append(bytes, 4);
}

} // namespace

int RecordWindow(ListFile file) {
    return file == ListFile::StrokeCount ? 40960 : 8192;
}

int MaxRecordValues(ListFile file) {
    return (RecordWindow(file) - 8) / 4;
}

ChunkKey SyllableChunkKey(ListFile file, const QByteArray& lowText, const QByteArray& highText) {
    const QByteArray low = lowText.left(48);
    const QByteArray high = highText.left(48);
    char text[kKeyTextCapacity];
    if (file == ListFile::Jyutping) {
        std::snprintf(text, sizeof text, kJyutpingKeyTemplate, static_cast<int>(low.size()), low.constData(),
                      high.constData(), static_cast<int>(high.size()));
    } else {
        std::snprintf(text, sizeof text, kPinyinKeyTemplate, low.constData(), static_cast<int>(low.size()),
                      high.constData(), static_cast<int>(high.size()));
    }
    return DigestKeyText(text);
}

ChunkKey StrokeCountChunkKey(int lowest, int highest) {
    char text[kKeyTextCapacity];
    std::snprintf(text, sizeof text, kStrokeKeyTemplate, static_cast<unsigned>(lowest & 0xFF),
                  static_cast<unsigned>(highest & 0xFF));
    return DigestKeyText(text);
}

ChunkKey RadicalChunkKey(const QByteArray& lowKey, const QByteArray& highKey) {
    const QByteArray low = lowKey.left(48);
    const QByteArray high = highKey.left(48);
    char text[kKeyTextCapacity];
    std::snprintf(text, sizeof text, kRadicalKeyTemplate, low.constData(), static_cast<int>(low.size()),
                  high.constData(), static_cast<int>(high.size()));
    return DigestKeyText(text);
}

int ChunkKeyStart(const ChunkKey& key) {
    unsigned mix = 0x9E;
    for (int i = 0; i < key.size(); ++i) {
        mix = mix * 31 + static_cast<unsigned char>(key[i]) * static_cast<unsigned>(i + 7);
    }
    return static_cast<int>((mix ^ (mix >> 7) ^ (mix >> 13)) & 0x0F);
}

void ScrambleChunk(char* data, std::size_t size, const ChunkKey& key) {
    if (key.size() != 16) {
        return;
    }
    std::size_t at = static_cast<std::size_t>(ChunkKeyStart(key));
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>(data[i] ^ key[static_cast<int>(at)]);
        at = (at + 1) & 0x0F;
    }
}

QByteArray RadicalKeyText(std::uint32_t recordKey) {
    QByteArray text = QByteArray::number((recordKey >> 8) & 0xFF);
    if (recordKey & 0x10000u) {
        text.append('\'');
    }
    text.append('.');
    text.append(QByteArray::number(recordKey & 0xFF));
    return text;
}

void AppendRecord(ListFile file, std::uint32_t key, const CharacterList& values, QByteArray& out) {
    const auto count = static_cast<std::uint32_t>(values.size());
    const std::array<Mask, 3> order = MaskOrder(file);
    out.reserve(out.size() + static_cast<qsizetype>(RecordSize(count)));
    AppendWord(out, key);
    AppendWord(out, key ^ count);
    for (std::size_t i = 0; i < values.size(); ++i) {
        AppendWord(out, values[i] ^ MaskValue(order[i % 3], key, count));
    }
}

std::optional<RecordHead> ReadRecordHead(const unsigned char* window, std::size_t size) {
    if (size < 8) {
        return std::nullopt;
    }
    RecordHead head;
    head.key = ReadWord(window);
    head.count = head.key ^ ReadWord(window + 4);
    // Compared as counts, so that a huge corrupt count cannot overflow the size.
    if (head.count > (size - 8) / 4) {
        return std::nullopt;
    }
    return head;
}

CharacterList ReadRecordValues(ListFile file, const unsigned char* window, const RecordHead& head) {
    const std::array<Mask, 3> order = MaskOrder(file);
    CharacterList values(head.count);
    for (std::uint32_t i = 0; i < head.count; ++i) {
        values[i] = ReadWord(window + 8 + 4 * static_cast<std::size_t>(i)) ^
                    MaskValue(order[i % 3], head.key, head.count);
    }
    return values;
}

} // namespace quillory
