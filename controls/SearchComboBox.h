#pragma once
// The search box: an editable drop-down list holding the search history,
// and the search's view of it. Enter asks for a search after the key has
// been handled (queued), as the Go button does; choosing a different item of
// the list asks for that history entry.
#include "pages/protocol/SearchBox.h"

#include <QComboBox>
#include <functional>

namespace quillory {

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

    // SearchBox
    QString text() const override { return currentText(); }
    int itemCount() const override { return count(); }
    QString itemText(int item) const override { return QComboBox::itemText(item); }
    int itemData(int item) const override { return QComboBox::itemData(item).toInt(); }
    int selectedItem() const override { return currentIndex(); }
    void Post(const ProtocolRequest& request) override;

signals:
    void searchRequested();
    // The user chose another item of the list than the one shown.
    void historyPicked(int item);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    RequestPoster poster_;
};

} // namespace quillory
