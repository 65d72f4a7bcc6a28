#pragma once
// The program's own link form, "mmpp://<command>=<value>" with both numbers
// in hexadecimal, and what the browser does with an address it is about to
// open.
#include "pages/protocol/ProtocolRequest.h"

#include <QString>
#include <optional>

namespace quillory {

// True when the address starts with the link prefix (case-sensitive).
bool IsOwnLink(const QString& address);

// The request of an own link: the command is the low 8 bits of its number.
// Nothing for other addresses, for a link without "=" and for a part longer
// than 99 bytes. Never carries a text.
std::optional<ProtocolRequest> ParseLink(const QString& address);

struct NavigationDecision {
    bool cancel = false;                 // the browser must not open the address
    std::optional<ProtocolRequest> post; // the request to post to the window
};

// Other addresses are opened normally. Own links are always cancelled, and a
// well-formed one is posted, unless it names a text command: those take their
// text from the search box or the history, never from a page.
NavigationDecision DecideNavigation(const QString& address);

} // namespace quillory
