#include "settings/NameRegistry.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace quillory;

TEST(NameRegistry, ProgramNamesGetDistinctIdsThatNameThemBack) {
    const NameRegistry registry;
    QSet<std::uint32_t> ids;
    for (const QString& name : NameRegistry::RegisteredNames()) {
        const auto id = registry.idOf(name);
        ASSERT_TRUE(id.has_value()) << name.toStdString();
        EXPECT_EQ(registry.nameOf(*id), name);
        ids.insert(*id);
    }
    EXPECT_EQ(ids.size(), NameRegistry::RegisteredNames().size());
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
