#pragma once
// What the main window does for page requests that show no page: plays a
// syllable's sound, opens an address in the user's browser, refills the
// search box's list from the history and shows the wait cursor.
#include "pages/protocol/WindowActions.h"

#include <QUrl>
#include <functional>

namespace quillory {

class Dictionary;
class SearchComboBox;
class SearchHistory;
class SyllablePlayer;

class WindowPageActions final : public PageActions {
public:
    // Sounds come from dictionary and play on player; addresses go to
    // openUrl; the search box's list shows history.
    WindowPageActions(const Dictionary& dictionary, SyllablePlayer& player,
                      std::function<bool(const QUrl&)> openUrl, const SearchHistory& history);

    // The search box RefillSearchBox fills; none, nothing is filled.
    void setSearchBox(SearchComboBox* box) { searchBox_ = box; }

    void PlaySyllable(const QString& syllable, Scheme scheme) override;
    void OpenAddress(const QString& url) override;
    void RefillSearchBox() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    const Dictionary& dictionary_;
    SyllablePlayer& player_;
    std::function<bool(const QUrl&)> openUrl_;
    const SearchHistory& history_;
    SearchComboBox* searchBox_ = nullptr;
    int waitDepth_ = 0;
};

} // namespace quillory
