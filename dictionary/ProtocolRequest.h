#pragma once
// A request for work: what a page link, the search box, the history list,
// the category tree or the language switch asks the main window to do.
#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

// Command numbers of a request.
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

struct ProtocolRequest {
    std::uint8_t command = 0;
    std::uint32_t value = 0;
    // The query text of a text command; never set from a page link.
    std::optional<QString> text;

    friend bool operator==(const ProtocolRequest&, const ProtocolRequest&) = default;
};

} // namespace quillory
