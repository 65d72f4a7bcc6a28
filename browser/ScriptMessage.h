#pragma once
// A message box that page script asked for (alert or confirm), as the view
// shows it: the program's caption and an information icon.
#include <QMessageBox>
#include <QString>
#include <functional>

namespace quillory {

// Replaces the browser's own caption of script message boxes.
inline constexpr char kScriptMessageCaption[] = "CustomMessage";

struct ScriptMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

// Shows the message and answers whether the user chose OK.
using ScriptMessagePresenter = std::function<bool(const ScriptMessage&)>;

} // namespace quillory
