#pragma once
// Where the Converter saves a box's text: the file the user names, with the
// usual extension of the box's kind offered, written as UTF-8.
#include "tools/convert/TextKind.h"

#include <QString>

class QWidget;

namespace quillory {

// The save dialog's filter for a kind ("HTML files (*.html *.htm)").
QString SaveFilter(TextKind kind);

// Asks for a file name; empty when the user cancels.
QString AskSaveFileName(QWidget* parent, TextKind kind);

// Writes text as UTF-8, replacing the file only once all of it is written;
// false with the reason on failure.
bool SaveUtf8(const QString& path, const QString& text, QString* error);

} // namespace quillory
