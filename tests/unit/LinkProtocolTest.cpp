// Reading the program's own links and deciding what the browser may open.
#include "pages/protocol/LinkProtocol.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

ProtocolRequest Request(std::uint8_t command, std::uint32_t value) {
    return ProtocolRequest{command, value, std::nullopt};
}

TEST(ParseLink, ReadsHexadecimalCommandAndValueAndRefusesMalformedLinks) {
    const QString zeros(95, u'0'), longest(99, u'0');
    // The command keeps its low eight bits; the value runs to the end, further equals included; parts
    // too long to read are refused rather than cut, counted in bytes (34 ideographs are 102 bytes).
    const std::pair<QString, std::optional<ProtocolRequest>> cases[] = {
        {"mmpp://0=4E2D", Request(0, 0x4E2D)},
        {"mmpp://0=4e2d", Request(0, 0x4E2D)},
        {"mmpp://5=4E2D/", Request(5, 0x4E2D)},
        {"mmpp://D=1", Request(13, 1)},
        {"mmpp://=", Request(0, 0)},
        {"mmpp://104=4E2D", Request(4, 0x4E2D)},
        {"mmpp://-1=1", Request(0xFF, 1)},
        {"mmpp://1=19=16", Request(1, 0x1916)},
        {"mmpp://0=" + zeros + "4E2D", Request(0, 0x4E2D)},
        {"mmpp://0=" + longest + "4E2D", std::nullopt},
        {"mmpp://" + longest + "0=1", std::nullopt},
        {"mmpp://0=" + QString(34, QChar(0x4E2D)), std::nullopt},
        {"mmpp://0", std::nullopt},
        {"MMPP://0=4E2D", std::nullopt},
        {"x mmpp://0=4E2D", std::nullopt},
        {"qrc:/pages/index.html", std::nullopt},
        {QString(), std::nullopt}};
    for (const auto& [link, request] : cases)
        EXPECT_EQ(ParseLink(link), request) << link.toStdString();
}

TEST(DecideNavigation, OwnLinksAreCancelledAndPostedUnlessTheyNameTextCommands) {
    EXPECT_TRUE(IsOwnLink(QStringLiteral("mmpp://0")));
    EXPECT_FALSE(IsOwnLink(QStringLiteral("Mmpp://0=1")));
    EXPECT_FALSE(IsOwnLink(QStringLiteral("http://x/?mmpp://0=1")));
    // Address, cancelled, posted request.
    const std::tuple<const char*, bool, std::optional<ProtocolRequest>> cases[] = {
        {"http://example.org/mmpp://0=4E2D", false, std::nullopt},
        {"qrc:/pages/index.html", false, std::nullopt},
        {"mmpp://0=4E2D", true, Request(0, 0x4E2D)},
        {"mmpp://0", true, std::nullopt},
        {"mmpp://6=4E2D", true, std::nullopt}, // page links naming text commands
        {"mmpp://7=1", true, std::nullopt},
        {"mmpp://A=4E2D", true, std::nullopt},
        {"mmpp://10A=4E2D", true, std::nullopt}};
    for (const auto& [address, cancel, post] : cases) {
        const NavigationDecision decision = DecideNavigation(QString::fromLatin1(address));
        EXPECT_EQ(decision.cancel, cancel) << address;
        EXPECT_EQ(decision.post, post) << address;
    }
}

} // namespace
} // namespace quillory
