#include "settings/NameRegistry.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace quillory;

TEST(NameRegistry, EveryProgramNameIsRegisteredOnceInOrderFromTheFirstId) {
    const NameRegistry registry;
    const QStringList& names = NameRegistry::RegisteredNames();
    ASSERT_EQ(names.size(),
              59); // 15 messages and timers, 11 stroke-player controls, 16 tooltips, 17 page labels
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto id = registry.idOf(names[i]);
        ASSERT_TRUE(id.has_value()) << names[i].toStdString();
        EXPECT_EQ(*id, NameRegistry::kFirstId + i);
        EXPECT_EQ(registry.nameOf(*id), names[i]);
    }
    EXPECT_EQ(registry.idOf(QStringLiteral("WM_MY_PROTOCOL")), NameRegistry::kFirstId);
    EXPECT_TRUE(registry
                    .idOf(QStringLiteral(
                        "ARE-YOU-THERE?{<Tessaravin>{5B0E2C71-94AD-4F3E-8A6C-2D7F19E04B38}</Tessaravin>}"))
                    .has_value());
}

TEST(NameRegistry, SameNameKeepsItsIdAndNewNamesGetTheNextOne) {
    NameRegistry registry;
    const auto known = registry.idOf(QStringLiteral("TOOLTIP_BTN_GO"));
    ASSERT_TRUE(known.has_value());
    EXPECT_EQ(registry.Register(QStringLiteral("TOOLTIP_BTN_GO")), *known);

    const std::uint32_t first = registry.Register(QStringLiteral("A_NEW_NAME"));
    const std::uint32_t second = registry.Register(QStringLiteral("ANOTHER_NAME"));
    EXPECT_GE(first, NameRegistry::kFirstId + NameRegistry::RegisteredNames().size());
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(registry.Register(QStringLiteral("A_NEW_NAME")), first);
    // Names are case-sensitive.
    EXPECT_NE(registry.Register(QStringLiteral("a_new_name")), first);
}

TEST(NameRegistry, UnknownNamesAndIdsFindNothing) {
    const NameRegistry registry;
    EXPECT_FALSE(registry.idOf(QStringLiteral("WM_NOT_A_NAME")).has_value());
    EXPECT_TRUE(registry.nameOf(0).isEmpty());
    EXPECT_TRUE(registry.nameOf(NameRegistry::kFirstId - 1).isEmpty());
    EXPECT_TRUE(registry.nameOf(NameRegistry::kFirstId + 10000).isEmpty());
}
