#pragma once
// The search box: an editable drop-down list holding the search history.
// Enter asks for a search after the key has been handled (queued), as the Go
// button does.
#include <QComboBox>

namespace quillory {

class SearchComboBox final : public QComboBox {
    Q_OBJECT
public:
    explicit SearchComboBox(QWidget* parent = nullptr);

signals:
    void searchRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace quillory
