#include "controls/SearchComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>

namespace quillory {

SearchComboBox::SearchComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // The list is the history; typed text must not complete to an old entry.
    setCompleter(nullptr);
    // Only a change of item is a pick: the item already shown asks for nothing.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (item >= 0) {
            emit historyPicked(item);
        }
    });
}

void SearchComboBox::SetItems(const QList<QPair<QString, int>>& items) {
    const QSignalBlocker blocker(this);
    clear();
    for (const auto& [text, entry] : items) {
        addItem(text, entry);
    }
    if (count() > 0) {
        setCurrentIndex(0);
    }
}

void SearchComboBox::Post(const ProtocolRequest& request) {
    if (poster_) {
        poster_(request);
    }
}

void SearchComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QMetaObject::invokeMethod(this, &SearchComboBox::searchRequested, Qt::QueuedConnection);
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace quillory
