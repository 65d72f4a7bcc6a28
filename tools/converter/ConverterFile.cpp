#include "tools/converter/ConverterFile.h"

#include <QFileDialog>
#include <QSaveFile>

namespace quillory {

QString SaveFilter(TextKind kind) {
    return kind == TextKind::Html ? QStringLiteral("HTML files (*.html *.htm);;All files (*)")
                                  : QStringLiteral("Text files (*.txt);;All files (*)");
}

QString AskSaveFileName(QWidget* parent, TextKind kind) {
    QFileDialog dialog(parent, QStringLiteral("Save %1 Text").arg(KindName(kind)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(SaveFilter(kind));
    dialog.setDefaultSuffix(KindExtension(kind));
    dialog.selectFile(QStringLiteral("converted.") + KindExtension(kind));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

bool SaveUtf8(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace quillory
