#pragma once
// The search box's actions: a typed query or a chosen history item becomes
// a request for the main window, posted exactly as a page link would be.
#include "dictionary/text/MessageReporter.h"
#include "pages/protocol/SearchBox.h"
#include "pages/protocol/ProtocolRequest.h"
#include "dictionary/search/SearchHistory.h"

#include <QString>
#include <vector>

namespace quillory {

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
