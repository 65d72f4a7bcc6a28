#pragma once
// A request for work: what a page link, the search box, the history list,
// the category tree or the language switch asks the main window to do.
#include "pages/protocol/LinkCommands.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

struct ProtocolRequest {
    std::uint8_t command = 0;
    std::uint32_t value = 0;
    // The query text of a text command; never set from a page link.
    std::optional<QString> text;

    friend bool operator==(const ProtocolRequest&, const ProtocolRequest&) = default;
};

} // namespace quillory
