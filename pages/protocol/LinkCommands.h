#pragma once
// The program's own links, "mmpp://<command>=<value>" with both numbers in
// hexadecimal, and the command numbers that links, the search box, the
// history, the category tree and the language switch carry.
#include <cstdint>

namespace quillory {

inline constexpr char kLinkScheme[] = "mmpp";
inline constexpr char kLinkPrefix[] = "mmpp://";

enum ProtocolCommand : std::uint8_t {
    kShowCharacter = 0,
    kListPinyin = 1,
    kPlayPinyin = 2,
    kListJyutping = 3,
    kPlayJyutping = 4,
    kShowStrokeOrder = 5,
    kShowWord = 6,
    kShowEnglish = 7,
    kListStrokeCount = 8,
    kListRadical = 9,
    kShowHexCode = 10,
    kOpenSupport = 13,
    kOpenLessonEditor = 14,
    kOpenHtmlLesson = 15,
};

// Commands 6, 7 and 10 are identified by their text, not by a number.
constexpr bool IsTextCommand(std::uint32_t command) {
    return command == kShowWord || command == kShowEnglish || command == kShowHexCode;
}

} // namespace quillory
