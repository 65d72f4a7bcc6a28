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
