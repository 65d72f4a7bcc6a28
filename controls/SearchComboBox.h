#pragma once
// The search box: an editable drop-down list holding the search history,
// and the search's view of it. Enter asks for a search after the key has
// been handled (queued), as the Go button does; choosing a different item of
// the list asks for that history entry. With a suggestion source, the text
// the user types is sent to it at every edit and its latest answer is shown
// in a list under the box: Up and Down move in it, Enter searches for the
// selected word, Esc closes it; the keyboard stays with the box throughout.
#include "dictionary/search/Lookup.h"
#include "pages/protocol/SearchBox.h"

#include <QComboBox>
#include <functional>

namespace quillory {

class SuggestionList;
class SuggestionSource;

class SearchComboBox final : public QComboBox, public SearchBox {
    Q_OBJECT
public:
    using RequestPoster = std::function<void(const ProtocolRequest&)>;

    explicit SearchComboBox(QWidget* parent = nullptr);

    // Where the search's requests go.
    void setRequestPoster(RequestPoster poster) { poster_ = std::move(poster); }
    // Replaces the list (without asking for an entry): texts with their
    // history entry indexes; the first item is selected.
    void SetItems(const QList<QPair<QString, int>>& items);
    // Where suggestions come from; without one (nullptr) none are shown.
    void setSuggestionSource(SuggestionSource* source);
    SuggestionList* suggestionList() const { return suggestions_; }

    // SearchBox
    QString text() const override { return currentText(); }
    int itemCount() const override { return count(); }
    QString itemText(int item) const override { return QComboBox::itemText(item); }
    int itemData(int item) const override { return QComboBox::itemData(item).toInt(); }
    int selectedItem() const override { return currentIndex(); }
    void Post(const ProtocolRequest& request) override;

    // The history's own list closes the suggestions.
    void showPopup() override;

signals:
    void searchRequested();
    // The user chose another item of the list than the one shown.
    void historyPicked(int item);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTextEdited(const QString& text);
    void OnSuggested(quint64 sequence, const QList<quillory::Suggestion>& suggestions);
    // Closes the list; answers still on their way are dropped.
    void CloseSuggestions();
    // Searches for a suggestion's word as if it had been typed.
    void ChooseSuggestion(const QString& word);
    void RequestSearch();

    RequestPoster poster_;
    SuggestionSource* source_ = nullptr;
    SuggestionList* suggestions_ = nullptr;
    quint64 sequence_ = 0;
};

} // namespace quillory
