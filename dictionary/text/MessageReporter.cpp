#include "dictionary/text/MessageReporter.h"

#include <cstdio>

namespace quillory {

void StderrReporter::showMessage(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace quillory
