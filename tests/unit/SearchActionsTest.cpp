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
    void Post(const ProtocolRequest& request) override { posted.push_back(request); }

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

TEST_F(SearchActions, QueriesPostACharacterAWordOrTheirTextOrNothing) {
    using Requests = std::vector<ProtocolRequest>;
    const std::pair<const char*, Requests> cases[] = {
        {"  ", Requests{}},
        {"中", Requests{{0, 0x4E2D, std::nullopt}}},
        {"zhong", Requests{Text(7, QStringLiteral("zhong"))}},
        {"4e2d", Requests{Text(10, QStringLiteral("4e2d"))}},
        {" \t中文\t ", Requests{Text(6, QStringLiteral("中文"))}}};
    for (const auto& [query, requests] : cases)
        EXPECT_EQ(search(QString::fromUtf8(query)), requests) << query;
    EXPECT_EQ(state.queryText, QStringLiteral("中文")); // the last query, trimmed
    EXPECT_TRUE(reporter.messages.isEmpty());
    EXPECT_TRUE(search(QStringLiteral(" hello9 ")).empty());
    EXPECT_EQ(reporter.messages, QStringList{QStringLiteral("No results were found for \"hello9\".")});
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
    for (int item : {0, 1, -1, 5}) {
        box.selected = item;
        PickHistoryItem(box, state);
    }
    EXPECT_EQ(box.posted,
              (std::vector{ProtocolRequest{1, 0x1916, std::nullopt}, Text(7, QStringLiteral("hello"))}));
    EXPECT_EQ(state.queryText, QStringLiteral("hello"));
}

TEST_F(SearchActions, ATextEntryReadBackWithAValueReplaysItsText) {
    // As loaded from a file line "7<TAB>2A<TAB>hello": the number is no text reference.
    state.history.AddToHistory(7, 0x2A, QStringLiteral("hello"));
    EXPECT_EQ(RequestForEntry(state.history.entry(0)), Text(7, QStringLiteral("hello")));
    EXPECT_EQ(RequestForEntry(SearchHistoryEntry{}), std::nullopt);
}

} // namespace
} // namespace quillory
