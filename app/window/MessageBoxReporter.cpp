#include "app/window/MessageBoxReporter.h"

#include <QMessageBox>

namespace quillory {

void MessageBoxReporter::showMessage(const QString& text) {
    if (!silenced_) {
        QMessageBox::information(parent_, QStringLiteral("Quillory"), text);
    }
}

} // namespace quillory
