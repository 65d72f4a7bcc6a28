#include "browser/KeyFilter.h"

#include <QEvent>
#include <QKeyEvent>

namespace quillory {

bool KeyFilter::Swallows(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return true;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return true;
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Escape:
    case Qt::Key_Help:
        return true;
    default:
        return false;
    }
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (enabled_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (Swallows(key->key(), key->modifiers()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillory
