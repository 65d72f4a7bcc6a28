#pragma once
// Messages of the core shown to the user in a message box.
#include "dictionary/text/MessageReporter.h"

#include <QPointer>
#include <QWidget>

namespace quillory {

class MessageBoxReporter final : public MessageReporter {
public:
    explicit MessageBoxReporter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void showMessage(const QString& text) override;
    // While the program is quitting, messages are dropped instead of shown.
    void setSilenced(bool silenced) { silenced_ = silenced; }

private:
    QPointer<QWidget> parent_;
    bool silenced_ = false;
};

} // namespace quillory
