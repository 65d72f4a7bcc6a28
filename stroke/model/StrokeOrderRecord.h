#pragma once
// A character's stroke-order record: up to 128 two-byte entries in writing
// order, (contour index, flags). Flags: bit 7 = this contour continues the
// stroke before it; bits 0-3 = sweep direction code (used modulo 6).
#include <array>
#include <cstdint>

namespace quillory::stroke {

inline constexpr int kStrokeOrderRecordBytes = 256;
inline constexpr int kMaxStrokeEntries = kStrokeOrderRecordBytes / 2;
inline constexpr std::uint8_t kContinuationFlag = 0x80;
inline constexpr std::uint8_t kDirectionBits = 0x0F;

enum SweepDirection : std::uint8_t {
    kSweepLeftToRight = 0,
    kSweepTopToBottom = 1,
    kSweepRightToLeft = 2,
    kSweepBottomToTop = 3,
};

using StrokeOrderBytes = std::array<std::uint8_t, kStrokeOrderRecordBytes>;

struct StrokeEntry {
    std::uint8_t contour = 0;
    std::uint8_t flags = 0;
    bool Continues() const { return (flags & kContinuationFlag) != 0; }
    int Direction() const { return (flags & kDirectionBits) % 6; }
};

inline StrokeEntry EntryAt(const StrokeOrderBytes& record, int i) {
    return {record[2 * i], record[2 * i + 1]};
}

// 1 + the entries after the first that begin a stroke; 1 below two entries.
inline int StrokeCountOf(const StrokeOrderBytes& record, int entryCount) {
    int count = 1;
    for (int i = 1; i < entryCount && i < kMaxStrokeEntries; ++i)
        if (record[2 * i + 1] < kContinuationFlag)
            ++count;
    return count;
}

} // namespace quillory::stroke
