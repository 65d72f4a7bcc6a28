// The search box's actions: queries and history items become requests.
#include "pages/protocol/SearchActions.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

// A search box whose list is filled from a history, as the window fills it.
class FakeSearchBox final : public SearchBox {
public:
    QString text() const override { return typed; }
    int itemCount() const override { return static_cast<int>(items.size()); }
    QString itemText(int item) const override { return items.at(static_cast<size_t>(item)).text; }
    int itemData(int item) const override { return items.at(static_cast<size_t>(item)).entryIndex; }
    int selectedItem() const override { return selected; }
    void post(const ProtocolRequest& request) override { posted.push_back(request); }

    void fill(const SearchHistory& history) {
        items = SearchBoxItems(history);
        selected = items.empty() ? -1 : 0;
    }

    QString typed;
    std::vector<SearchBoxItem> items;
    int selected = -1;
    std::vector<ProtocolRequest> posted;
};

class SearchActions : public ::testing::Test {
protected:
    std::vector<ProtocolRequest> search(const QString& text) {
        box.typed = text;
        box.posted.clear();
        RunSearch(box, state, reporter);
        return box.posted;
    }

    static ProtocolRequest Text(std::uint8_t command, const QString& text) {
        return ProtocolRequest{command, 0, text};
    }

    FakeSearchBox box;
    SearchState state;
    RecordingReporter reporter;
};

TEST_F(SearchActions, ChineseQueriesPostACharacterOrAWord) {
    EXPECT_EQ(search(QStringLiteral("中")), (std::vector<ProtocolRequest>{{0, 0x4E2D, std::nullopt}}));
    EXPECT_EQ(search(QStringLiteral(" \t中文\t ")), (std::vector{Text(6, QStringLiteral("中文"))}));
    EXPECT_EQ(state.queryText, QStringLiteral("中文"));
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(SearchActions, RomanAndHexQueriesCarryTheirText) {
    EXPECT_EQ(search(QStringLiteral("zhong")), (std::vector{Text(7, QStringLiteral("zhong"))}));
    EXPECT_EQ(search(QStringLiteral("4e2d")), (std::vector{Text(10, QStringLiteral("4e2d"))}));
    EXPECT_EQ(state.queryText, QStringLiteral("4e2d"));
}

TEST_F(SearchActions, UnsearchableAndEmptyQueriesPostNothing) {
    EXPECT_TRUE(search(QStringLiteral("  ")).empty());
    EXPECT_TRUE(reporter.messages.isEmpty());
    EXPECT_TRUE(search(QStringLiteral(" hello2 ")).empty());
    EXPECT_EQ(reporter.messages, QStringList{QStringLiteral("No results were found for \"hello2\".")});
}

TEST_F(SearchActions, BracketedTitlesReplayTheirHistoryEntry) {
    state.history.AddToHistory(7, 0, QStringLiteral("hello"));
    state.history.AddToHistory(8, 4, QStringLiteral("[4]"));
    state.history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    box.fill(state.history);

    EXPECT_EQ(search(QStringLiteral(" [ZHONG] ")), (std::vector<ProtocolRequest>{{1, 0x1916, std::nullopt}}));
    EXPECT_EQ(search(QStringLiteral("[4]")), (std::vector<ProtocolRequest>{{8, 4, std::nullopt}}));
    EXPECT_TRUE(reporter.messages.isEmpty());

    EXPECT_TRUE(search(QStringLiteral("[ma]")).empty());
    EXPECT_EQ(
        reporter.messages,
        QStringList{QStringLiteral("Don't know how to search \"[ma]\", please choose from the left list.")});
}

TEST_F(SearchActions, PickingAHistoryItemPostsItsEntry) {
    state.history.AddToHistory(7, 0, QStringLiteral("hello"));
    state.history.AddToHistory(1, 0x1916, QStringLiteral("[zhong]"));
    box.fill(state.history);

    box.selected = 0;
    PickHistoryItem(box, state);
    box.selected = 1;
    PickHistoryItem(box, state);
    EXPECT_EQ(box.posted,
              (std::vector{ProtocolRequest{1, 0x1916, std::nullopt}, Text(7, QStringLiteral("hello"))}));
    EXPECT_EQ(state.queryText, QStringLiteral("hello"));

    box.posted.clear();
    box.selected = -1;
    PickHistoryItem(box, state);
    box.selected = 5;
    PickHistoryItem(box, state);
    EXPECT_TRUE(box.posted.empty());
}

TEST_F(SearchActions, ATextEntryReadBackWithAValueReplaysItsText) {
    // As loaded from a file line "7<TAB>2A<TAB>hello": the number is no text reference.
    state.history.AddToHistory(7, 0x2A, QStringLiteral("hello"));
    EXPECT_EQ(RequestForEntry(state.history.entry(0)), Text(7, QStringLiteral("hello")));
    EXPECT_EQ(RequestForEntry(SearchHistoryEntry{}), std::nullopt);
}

} // namespace
} // namespace quillory
