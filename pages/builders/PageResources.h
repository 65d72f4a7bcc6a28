#pragma once
// Where the embedded pages, style sheet, scripts and images are found.
#include <QString>

namespace quillory {

// "qrc:/pages/index.html" for "index.html".
inline QString PageResourceUrl(const QString& name) {
    return QStringLiteral("qrc:/pages/") + name;
}

} // namespace quillory
