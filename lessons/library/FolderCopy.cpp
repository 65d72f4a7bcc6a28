#include "lessons/library/FolderCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace quillory {
namespace {

// The absolute path with the links of its longest existing beginning
// resolved, so that a folder not yet made compares like the one it would be.
QString ResolvedPath(const QString& path) {
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing)) {
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash <= 0) {
            return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        }
        rest = existing.mid(slash) + rest;
        existing.truncate(slash);
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

bool StartsWithFolder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

bool CopyTree(const QString& source, const QString& destination) {
    if (!QDir().mkpath(destination)) {
        return false;
    }
    QDirIterator entries(source, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        const QString target = destination + u'/' + entry.fileName();
        if (entry.isSymLink()) {
            continue;
        }
        if (entry.isDir()) {
            if (!CopyTree(entry.filePath(), target)) {
                return false;
            }
        } else if (entry.isFile()) {
            if (QFileInfo(target).isDir()) {
                return false;
            }
            QFile::remove(target);
            if (!QFile::copy(entry.filePath(), target)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool IsSameOrInside(const QString& path, const QString& folder) {
    const QString cleanPath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString cleanFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return StartsWithFolder(cleanPath, cleanFolder) ||
           StartsWithFolder(ResolvedPath(path), ResolvedPath(folder));
}

bool CopyFolderTree(const QString& source, const QString& destination) {
    if (IsSameOrInside(destination, source)) {
        return false;
    }
    return CopyTree(source, destination);
}

} // namespace quillory
