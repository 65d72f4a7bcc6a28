// Reading the program's own links and deciding what the browser may open.
#include "pages/protocol/LinkProtocol.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

ProtocolRequest Request(std::uint8_t command, std::uint32_t value) {
    return ProtocolRequest{command, value, std::nullopt};
}

TEST(ParseLink, ReadsCommandAndValueInHexadecimal) {
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://0=4E2D")), Request(0, 0x4E2D));
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://0=4e2d")), Request(0, 0x4E2D));
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://5=4E2D/")), Request(5, 0x4E2D));
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://D=1")), Request(13, 1));
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://=")), Request(0, 0));
}

TEST(ParseLink, KeepsOnlyTheLowEightBitsOfTheCommand) {
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://104=4E2D")), Request(4, 0x4E2D));
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://-1=1")), Request(0xFF, 1));
}

TEST(ParseLink, TheValueRunsToTheEndIncludingFurtherEquals) {
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://1=19=16")), Request(1, 0x1916));
}

TEST(ParseLink, RefusesOtherAddressesAndMalformedLinks) {
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://0")), std::nullopt);
    EXPECT_EQ(ParseLink(QStringLiteral("MMPP://0=4E2D")), std::nullopt);
    EXPECT_EQ(ParseLink(QStringLiteral("x mmpp://0=4E2D")), std::nullopt);
    EXPECT_EQ(ParseLink(QStringLiteral("qrc:/pages/index.html")), std::nullopt);
    EXPECT_EQ(ParseLink(QString()), std::nullopt);
}

TEST(ParseLink, RefusesPartsTooLongToReadRatherThanCuttingThem) {
    const QString longest(99, u'0');
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://0=") + longest + QStringLiteral("4E2D")), std::nullopt);
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://0=") + QString(95, u'0') + QStringLiteral("4E2D")),
              Request(0, 0x4E2D));
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://") + longest + QStringLiteral("0=1")), std::nullopt);
    // Bytes count, not characters: 34 ideographs are 102 bytes.
    EXPECT_EQ(ParseLink(QStringLiteral("mmpp://0=") + QString(34, QChar(0x4E2D))), std::nullopt);
}

TEST(IsOwnLink, NeedsThePrefixAtTheStart) {
    EXPECT_TRUE(IsOwnLink(QStringLiteral("mmpp://0")));
    EXPECT_FALSE(IsOwnLink(QStringLiteral("Mmpp://0=1")));
    EXPECT_FALSE(IsOwnLink(QStringLiteral("http://x/?mmpp://0=1")));
}

TEST(DecideNavigation, OtherAddressesOpenNormally) {
    const NavigationDecision decision = DecideNavigation(QStringLiteral("http://example.org/mmpp://0=4E2D"));
    EXPECT_FALSE(decision.cancel);
    EXPECT_EQ(decision.post, std::nullopt);
    EXPECT_FALSE(DecideNavigation(QStringLiteral("qrc:/pages/index.html")).cancel);
}

TEST(DecideNavigation, OwnLinksAreCancelledAndPosted) {
    const NavigationDecision decision = DecideNavigation(QStringLiteral("mmpp://0=4E2D"));
    EXPECT_TRUE(decision.cancel);
    EXPECT_EQ(decision.post, Request(0, 0x4E2D));

    const NavigationDecision malformed = DecideNavigation(QStringLiteral("mmpp://0"));
    EXPECT_TRUE(malformed.cancel);
    EXPECT_EQ(malformed.post, std::nullopt);
}

TEST(DecideNavigation, PageLinksNamingTextCommandsAreRefused) {
    for (const char* address : {"mmpp://6=4E2D", "mmpp://7=1", "mmpp://A=4E2D", "mmpp://10A=4E2D"}) {
        const NavigationDecision decision = DecideNavigation(QString::fromLatin1(address));
        EXPECT_TRUE(decision.cancel) << address;
        EXPECT_EQ(decision.post, std::nullopt) << address;
    }
}

} // namespace
} // namespace quillory
