#include "dictionary/files/DataFormat.h"

#include <QCryptographicHash>

namespace quillory {

namespace {

constexpr char kFileKeyText[] = "q7Lm#Tz9@wRk";
static_assert(sizeof(kFileKeyText) - 1 == 12);

constexpr std::uint16_t kDescriptorMask = 0x6B3D;

// Per-section masks of the fixed-size entries. The key fields are stored XOR
// keyMask (pair sections: first field XOR keyMask, second XOR pairMask); the
// position is stored XOR a mix of the decoded key fields with the section's
// multiplier, shift and constant.
struct FixedSectionFormat {
    int entrySize;
    bool pair;
    std::uint16_t keyMask;
    std::uint16_t pairMask;
    std::uint32_t multiplier;
    int shift;
    std::uint32_t positionConstant;
};

constexpr FixedSectionFormat kJyutpingSoundFormat{6, false, 0x3E91, 0, 0x2C1B3C6Du, 13, 0x5D2E71A9u};
constexpr FixedSectionFormat kPinyinSoundFormat{6, false, 0xC74A, 0, 0x297A2D39u, 11, 0x13B8E6C5u};
constexpr FixedSectionFormat kStrokeOrderFormat{8, true, 0x81F6, 0x4D2B, 0x6C8E9CF5u, 15, 0xA94F3D17u};
constexpr FixedSectionFormat kStrokeCountFormat{4, false, 0x9A5E, 0, 0x3B9ACA07u, 9, 0x7C04E2B4u};
constexpr FixedSectionFormat kPinyinChunkFormat{8, true, 0x5E37, 0xB2C8, 0x7FEB352Du, 14, 0x4C1F8A63u};
constexpr FixedSectionFormat kJyutpingChunkFormat{8, true, 0xD40B, 0x27E5, 0x846CA68Bu, 12, 0x6E29B5D1u};

const FixedSectionFormat* FixedFormat(int section) {
    switch (section) {
    case kJyutpingSoundSection:
        return &kJyutpingSoundFormat;
    case kPinyinSoundSection:
        return &kPinyinSoundFormat;
    case kStrokeOrderSection:
        return &kStrokeOrderFormat;
    case kStrokeCountSection:
        return &kStrokeCountFormat;
    case kPinyinChunkSection:
        return &kPinyinChunkFormat;
    case kJyutpingChunkSection:
        return &kJyutpingChunkFormat;
    default:
        return nullptr;
    }
}

std::uint32_t PositionMask(const FixedSectionFormat& format, std::uint16_t low, std::uint16_t high) {
    std::uint32_t mix = (std::uint32_t(low) << 16 | high) * format.multiplier;
    mix ^= mix >> format.shift;
    return mix ^ format.positionConstant;
}

// Syllable lists: masks of the high and the low byte.
constexpr std::uint8_t kPinyinListHighMask = 0x9C;
constexpr std::uint8_t kPinyinListLowMask = 0x35;
constexpr std::uint8_t kJyutpingListHighMask = 0x4B;
constexpr std::uint8_t kJyutpingListLowMask = 0xE6;
constexpr std::uint8_t kStrokeCountListMask = 0x71;

// Radical chunk entries. The key text is put together at run time from two
// stored pieces; byte j of the bound texts (running on from the low text into
// the high text) is XORed with key[j mod 15] and key[15 + j mod 17].
constexpr char kRadicalKeyPieceA[] = "hX3vQ9pLr2Tz8Nw";
constexpr char kRadicalKeyPieceB[] = "Km4Yd7sBq1Fj6UeRc";
constexpr int kRadicalCycleA = 15;
constexpr int kRadicalCycleB = 17;
static_assert(sizeof(kRadicalKeyPieceA) - 1 == kRadicalCycleA);
static_assert(sizeof(kRadicalKeyPieceB) - 1 == kRadicalCycleB);
constexpr std::uint8_t kRadicalSizeMask = 0xB7;
constexpr std::uint8_t kRadicalLowTextConstant = 0x5A;
constexpr std::uint8_t kRadicalHighTextConstant = 0xC3;
constexpr std::uint8_t kRadicalLowFoldSeed = 0x3D;
constexpr std::uint8_t kRadicalHighFoldSeed = 0xA8;
constexpr std::uint32_t kRadicalPositionConstant = 0x1F6C92E5u;

const QByteArray& RadicalEntryKey() {
    static const QByteArray key = QByteArray(kRadicalKeyPieceA) + QByteArray(kRadicalKeyPieceB);
    return key;
}

std::uint8_t RadicalTextMask(int j, bool lowText) {
    const QByteArray& key = RadicalEntryKey();
    return std::uint8_t(key[j % kRadicalCycleA] ^ key[kRadicalCycleA + j % kRadicalCycleB] ^
                        (lowText ? kRadicalLowTextConstant : kRadicalHighTextConstant));
}

std::uint8_t FoldText(const QByteArray& text, std::uint8_t seed) {
    std::uint8_t fold = seed;
    for (char c : text)
        fold = std::uint8_t((fold << 1 | fold >> 7) ^ std::uint8_t(c));
    return fold;
}

std::uint32_t RadicalPositionMask(const QByteArray& low, const QByteArray& high) {
    const std::uint32_t fl = FoldText(low, kRadicalLowFoldSeed);
    const std::uint32_t fh = FoldText(high, kRadicalHighFoldSeed);
    const std::uint32_t spread = fl << 24 | fh << 16 | (fl ^ fh ^ 0x5C) << 8 | ((fl + fh) & 0xFF);
    return spread ^ kRadicalPositionConstant;
}

constexpr char kRadicalTableKey[] = "Vq8Zr3LmT0xWc5HbN7yKd2PsJ4gFe9UaR1oCi6QhM-tX_uGzB8lYnE3vkSw7fDjO0";
constexpr int kRadicalTableKeySize = 65;
static_assert(sizeof(kRadicalTableKey) - 1 == kRadicalTableKeySize);

std::uint16_t ReadBE16(const char* p) {
    return std::uint16_t(std::uint8_t(p[0]) << 8 | std::uint8_t(p[1]));
}
std::uint32_t ReadBE32(const char* p) {
    return std::uint32_t(ReadBE16(p)) << 16 | ReadBE16(p + 2);
}
void WriteBE16(char* p, std::uint16_t v) {
    p[0] = char(v >> 8);
    p[1] = char(v & 0xFF);
}
void WriteBE32(char* p, std::uint32_t v) {
    WriteBE16(p, std::uint16_t(v >> 16));
    WriteBE16(p + 2, std::uint16_t(v & 0xFFFF));
}

bool IsKeyBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

QByteArray TrimKeyBlanks(const QByteArray& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsKeyBlank(text[begin]))
        ++begin;
    while (end > begin && IsKeyBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// atoi without its overflow hazard: leading blanks, an optional sign, then
// digits up to the first other character; clamped far below int's limits.
long ReadLeadingNumber(const QByteArray& text) {
    qsizetype i = 0;
    while (i < text.size() && IsKeyBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 100000000L)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

struct RadicalKeyParts {
    long number = 0;
    bool variant = false;
    long residual = 0;
};

RadicalKeyParts SplitRadicalKey(const QByteArray& key) {
    const qsizetype dot = key.indexOf('.');
    const QByteArray head = TrimKeyBlanks(dot < 0 ? key : key.left(dot));
    const QByteArray tail = dot < 0 ? QByteArray() : TrimKeyBlanks(key.mid(dot + 1));
    return {ReadLeadingNumber(head), head.contains('\''), ReadLeadingNumber(tail)};
}

template <typename T> int ThreeWay(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

QByteArray IndexFileKey() {
    static const QByteArray key = QCryptographicHash::hash(QByteArray(kFileKeyText), QCryptographicHash::Md5);
    return key;
}

void ScrambleIndexPayload(char* data, qsizetype size) {
    const QByteArray key = IndexFileKey();
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(data[i] ^ key[i % 16]);
}

std::uint16_t EncodeDescriptorValue(std::uint16_t value) {
    return value ^ kDescriptorMask;
}

SectionSpan IndexSectionSpan(const QByteArray& index, int section) {
    if (section < 0 || section >= kIndexSectionCount || index.size() < kIndexHeaderSize)
        return {};
    const char* descriptor = index.constData() + kIndexDescriptorsOffset + section * kIndexDescriptorSize;
    const int base = std::uint8_t(index[kIndexBaseOffset]) + kIndexDescriptorsOffset;
    const int start = (base + DecodeDescriptorValue(ReadBE16(descriptor))) & 0xFFFF;
    const int end = (base + DecodeDescriptorValue(ReadBE16(descriptor + 2))) & 0xFFFF;
    if (end <= start || end > index.size())
        return {};
    return {start, end};
}

IndexCheckBytes ComputeIndexCheckBytes(const QByteArray& index) {
    std::uint8_t foldA = 0; // offsets >= 5 with i mod 3 != 0
    std::uint8_t foldB = 0; // offsets >= 5 with i mod 3 == 0
    for (qsizetype i = kIndexDescriptorsOffset; i < index.size(); ++i) {
        if (i % 3 == 0)
            foldB ^= std::uint8_t(index[i]);
        else
            foldA ^= std::uint8_t(index[i]);
    }
    const std::uint8_t byte0 = index.size() > 0 ? std::uint8_t(index[0]) : 0;
    const std::uint8_t byte1 = index.size() > 1 ? std::uint8_t(index[1]) : 0;
    return {std::uint8_t(byte0 ^ foldA), std::uint8_t(byte1 ^ foldB)};
}

bool IsFixedEntrySection(int section) {
    return FixedFormat(section) != nullptr;
}

int FixedEntrySize(int section) {
    const FixedSectionFormat* format = FixedFormat(section);
    return format ? format->entrySize : 0;
}

void EncodeFixedEntry(int section, const FixedIndexEntry& entry, char* out) {
    const FixedSectionFormat* format = FixedFormat(section);
    if (!format)
        return;
    if (format->pair) {
        WriteBE16(out, entry.low ^ format->keyMask);
        WriteBE16(out + 2, entry.high ^ format->pairMask);
        WriteBE32(out + 4, entry.position ^ PositionMask(*format, entry.low, entry.high));
    } else if (section == kStrokeCountSection) {
        const std::uint16_t range = std::uint16_t((entry.low & 0xFF) << 8 | (entry.high & 0xFF));
        WriteBE16(out, range ^ format->keyMask);
        WriteBE16(out + 2, std::uint16_t((entry.position ^ PositionMask(*format, range, range)) & 0xFFFF));
    } else {
        WriteBE16(out, entry.low ^ format->keyMask);
        WriteBE32(out + 2, entry.position ^ PositionMask(*format, entry.low, entry.low));
    }
}

FixedIndexEntry DecodeFixedEntry(int section, const char* in) {
    const FixedSectionFormat* format = FixedFormat(section);
    if (!format)
        return {};
    FixedIndexEntry entry;
    if (format->pair) {
        entry.low = ReadBE16(in) ^ format->keyMask;
        entry.high = ReadBE16(in + 2) ^ format->pairMask;
        entry.position = ReadBE32(in + 4) ^ PositionMask(*format, entry.low, entry.high);
    } else if (section == kStrokeCountSection) {
        const std::uint16_t range = ReadBE16(in) ^ format->keyMask;
        entry.low = range >> 8;
        entry.high = range & 0xFF;
        entry.position = (ReadBE16(in + 2) ^ PositionMask(*format, range, range)) & 0xFFFF;
    } else {
        entry.low = entry.high = ReadBE16(in) ^ format->keyMask;
        entry.position = ReadBE32(in + 2) ^ PositionMask(*format, entry.low, entry.low);
    }
    return entry;
}

QByteArray EncodeRadicalEntry(const QByteArray& lowText, const QByteArray& highText, std::uint32_t position) {
    if (lowText.size() + highText.size() > kRadicalEntryMaxTexts)
        return {};
    const int m = int(lowText.size());
    const int n = 2 + m + int(highText.size());
    QByteArray entry(n + 4, '\0');
    entry[0] = char(n ^ kRadicalSizeMask);
    entry[1] = char(m ^ std::uint8_t(entry[0]));
    for (int j = 0; j < n - 2; ++j) {
        const bool low = j < m;
        const char plain = low ? lowText[j] : highText[j - m];
        entry[2 + j] = char(plain ^ RadicalTextMask(j, low));
    }
    WriteBE32(entry.data() + n, position ^ RadicalPositionMask(lowText, highText));
    return entry;
}

std::optional<RadicalIndexEntry> DecodeRadicalEntry(const char* data, qsizetype available) {
    if (available < 2)
        return std::nullopt;
    const int n = std::uint8_t(data[0]) ^ kRadicalSizeMask;
    const int m = std::uint8_t(data[1]) ^ std::uint8_t(data[0]);
    if (n < 2 || m > n - 2 || n + 4 > available)
        return std::nullopt;
    RadicalIndexEntry entry;
    entry.lowText.resize(m);
    entry.highText.resize(n - 2 - m);
    for (int j = 0; j < n - 2; ++j) {
        const bool low = j < m;
        const char plain = char(data[2 + j] ^ RadicalTextMask(j, low));
        if (low)
            entry.lowText[j] = plain;
        else
            entry.highText[j - m] = plain;
    }
    entry.position = ReadBE32(data + n) ^ RadicalPositionMask(entry.lowText, entry.highText);
    entry.size = n + 4;
    return entry;
}

void EncodeSyllableListEntry(int section, SyllableId id, char* out) {
    const bool pinyin = section == kPinyinSyllableSection;
    out[0] = char((id >> 8) ^ (pinyin ? kPinyinListHighMask : kJyutpingListHighMask));
    out[1] = char((id & 0xFF) ^ (pinyin ? kPinyinListLowMask : kJyutpingListLowMask));
}

SyllableId DecodeSyllableListEntry(int section, const char* in) {
    const bool pinyin = section == kPinyinSyllableSection;
    const std::uint8_t high = std::uint8_t(in[0]) ^ (pinyin ? kPinyinListHighMask : kJyutpingListHighMask);
    const std::uint8_t low = std::uint8_t(in[1]) ^ (pinyin ? kPinyinListLowMask : kJyutpingListLowMask);
    return SyllableId(high << 8 | low);
}

std::uint8_t EncodeStrokeCountByte(std::uint8_t count) {
    return count ^ kStrokeCountListMask;
}

void ScrambleRadicalTable(char* data, qsizetype size) {
    for (qsizetype j = 0; j < size; ++j)
        data[j] = char(data[j] ^ kRadicalTableKey[j % kRadicalTableKeySize]);
}

int CompareRadicalKeyTexts(const QByteArray& a, const QByteArray& b) {
    const RadicalKeyParts pa = SplitRadicalKey(a);
    const RadicalKeyParts pb = SplitRadicalKey(b);
    if (int c = ThreeWay(pa.number, pb.number))
        return c;
    if (int c = ThreeWay(int(pa.variant), int(pb.variant)))
        return c;
    return ThreeWay(pa.residual, pb.residual);
}

} // namespace quillory
