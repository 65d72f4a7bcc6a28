#include "lessons/format/ReplaceFile.h"

#include <QSaveFile>

namespace quillory {
namespace {

std::function<void(const QString&)>& BeforeReplaceHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return false;
    }
    if (!file.flush()) {
        return false;
    }
    if (const auto& hook = BeforeReplaceHook()) {
        hook(path);
    }
    return file.commit();
}

void SetBeforeReplaceHook(std::function<void(const QString&)> hook) {
    BeforeReplaceHook() = std::move(hook);
}

} // namespace quillory
