#include "pages/protocol/LinkProtocol.h"

#include "dictionary/search/QueryClassifier.h"

namespace quillory {
namespace {

// Longest part of a link that is read; longer parts are refused rather than
// cut, which would turn them into a different number.
constexpr qsizetype kMaxLinkPartBytes = 99;

std::optional<std::uint32_t> ReadLinkPart(const QString& part) {
    if (part.toUtf8().size() > kMaxLinkPartBytes)
        return std::nullopt;
    return HexValue(part);
}

} // namespace

bool IsOwnLink(const QString& address) {
    return address.startsWith(QLatin1String(kLinkPrefix), Qt::CaseSensitive);
}

std::optional<ProtocolRequest> ParseLink(const QString& address) {
    if (!IsOwnLink(address))
        return std::nullopt;
    const QString rest = address.mid(qsizetype(sizeof kLinkPrefix) - 1);
    const qsizetype equals = rest.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    const std::optional<std::uint32_t> command = ReadLinkPart(rest.left(equals));
    const std::optional<std::uint32_t> value = ReadLinkPart(rest.mid(equals + 1));
    if (!command || !value)
        return std::nullopt;
    return ProtocolRequest{static_cast<std::uint8_t>(*command & 0xFF), *value, std::nullopt};
}

NavigationDecision DecideNavigation(const QString& address) {
    if (!IsOwnLink(address))
        return NavigationDecision{};
    NavigationDecision decision{true, std::nullopt};
    std::optional<ProtocolRequest> request = ParseLink(address);
    if (request && !IsTextCommand(request->command))
        decision.post = std::move(request);
    return decision;
}

} // namespace quillory
