#include "app/instance/SocketFolder.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

QString PrivateSocketFolder(const QString& parent) {
    const QString folder = QDir(parent).filePath(QStringLiteral("quillory-%1").arg(getuid()));
    const QByteArray path = QFile::encodeName(folder);
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    // lstat: a link planted under this name is refused, not followed.
    struct stat info {};
    if (lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        return {};
    }
    if ((info.st_mode & 077) != 0 && chmod(path.constData(), 0700) != 0) {
        return {};
    }
    return folder;
}

std::optional<uid_t> PeerUserId(const QLocalSocket& socket) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0) {
        return std::nullopt;
    }
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials.uid;
}

} // namespace quillory
