#include "pages/protocol/SearchActions.h"

#include "dictionary/search/QueryClassifier.h"

namespace quillory {
namespace {

ProtocolRequest TextRequest(ProtocolCommand command, const QString& text) {
    return ProtocolRequest{command, 0, text};
}

// Posts the history entry behind the search box's list item.
void PostHistoryItem(SearchBox& box, SearchState& state, int item) {
    const int index = box.itemData(item);
    if (index < 0 || index >= SearchHistory::kSize)
        return;
    const SearchHistoryEntry& entry = state.history.entry(index);
    std::optional<ProtocolRequest> request = RequestForEntry(entry);
    if (!request)
        return;
    if (request->text)
        state.queryText = *request->text;
    box.Post(*request);
}

} // namespace

std::optional<ProtocolRequest> RequestForEntry(const SearchHistoryEntry& entry) {
    if (entry.isEmpty())
        return std::nullopt;
    const auto command = static_cast<std::uint8_t>(entry.command);
    if (IsTextCommand(entry.command))
        return TextRequest(static_cast<ProtocolCommand>(command), entry.text);
    return ProtocolRequest{command, entry.value, std::nullopt};
}

void RunSearch(SearchBox& box, SearchState& state, MessageReporter& reporter) {
    const QString text = TrimQuery(box.text());
    if (text.isEmpty())
        return;

    if (text.startsWith(u'[')) {
        for (int item = 0; item < box.itemCount(); ++item) {
            if (box.itemText(item).compare(text, Qt::CaseInsensitive) == 0) {
                PostHistoryItem(box, state, item);
                return;
            }
        }
        reporter.showMessage(
            QStringLiteral("Don't know how to search \"%1\", please choose from the left list.").arg(text));
        return;
    }

    state.queryText = text;
    switch (ClassifyQuery(text)) {
    case QueryClass::Chinese:
        if (text.size() == 1)
            box.Post(ProtocolRequest{kShowCharacter, text[0].unicode(), std::nullopt});
        else
            box.Post(TextRequest(kShowWord, text));
        return;
    case QueryClass::Roman:
        box.Post(TextRequest(kShowEnglish, text));
        return;
    case QueryClass::HexCode:
        box.Post(TextRequest(kShowHexCode, text));
        return;
    case QueryClass::Unsearchable:
        reporter.showMessage(QStringLiteral("No results were found for \"%1\".").arg(text));
        return;
    }
}

void PickHistoryItem(SearchBox& box, SearchState& state) {
    const int item = box.selectedItem();
    if (item < 0 || item >= box.itemCount())
        return;
    PostHistoryItem(box, state, item);
}

std::vector<SearchBoxItem> SearchBoxItems(const SearchHistory& history) {
    std::vector<SearchBoxItem> items;
    for (int index : history.usedEntries())
        items.push_back(SearchBoxItem{history.entry(index).text, index});
    return items;
}

} // namespace quillory
