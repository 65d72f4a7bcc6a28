#pragma once
// The search box's actions: a typed query or a chosen history item becomes
// a request for the main window, posted exactly as a page link would be.
#include "MessageReporter.h"
#include "ProtocolRequest.h"
#include "SearchHistory.h"

#include <QString>
#include <vector>

namespace quillory {

// What the window's search box offers the search: its text, its list (the
// history, each item carrying its entry index) and a way to post a request.
class SearchBox {
public:
    virtual ~SearchBox() = default;
    virtual QString text() const = 0;
    virtual int itemCount() const = 0;
    virtual QString itemText(int item) const = 0;
    virtual int itemData(int item) const = 0;
    virtual int selectedItem() const = 0; // -1 when none
    virtual void post(const ProtocolRequest& request) = 0;
};

// The search's state, owned by the window: the history and the last query.
struct SearchState {
    SearchHistory history;
    QString queryText;
};

// The Go action: a bracketed title replays the history item of that title;
// anything else is classified and posted as a character, word, English or
// hexadecimal code request. Unsearchable texts are reported.
void RunSearch(SearchBox& box, SearchState& state, MessageReporter& reporter);

// The selected history item is posted again.
void PickHistoryItem(SearchBox& box, SearchState& state);

// The request that shows a history entry again; text commands carry the
// entry's text. Nothing for an empty entry.
std::optional<ProtocolRequest> RequestForEntry(const SearchHistoryEntry& entry);

// The search box's list: the used history entries in order, each with its
// entry index as item data.
struct SearchBoxItem {
    QString text;
    int entryIndex = 0;
};
std::vector<SearchBoxItem> SearchBoxItems(const SearchHistory& history);

} // namespace quillory
