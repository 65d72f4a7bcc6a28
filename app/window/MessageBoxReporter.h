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

private:
    QPointer<QWidget> parent_;
};

} // namespace quillory
