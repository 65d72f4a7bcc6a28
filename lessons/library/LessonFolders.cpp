#include "lessons/library/LessonFolders.h"

#include "lessons/library/FolderCopy.h"
#include "settings/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillory {
namespace {

// A path can be written when it exists and is writable, or when it does not
// exist and the nearest folder above it that does is writable.
bool CanWritePath(const QString& path) {
    QFileInfo info(path);
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath()) {
            return false;
        }
        info = QFileInfo(parent);
    }
    return info.isWritable();
}

} // namespace

LessonFolders LessonFoldersOf(const QString& lessonFolder) {
    const QDir dir(lessonFolder);
    return {dir.filePath(QStringLiteral("oxa")), dir.filePath(QStringLiteral("html"))};
}

LessonFolders LessonFoldersIn(const QString& root) {
    return LessonFoldersOf(QDir(root).filePath(QStringLiteral("lesson")));
}

bool CanWriteLessonFolders(const LessonFolders& folders) {
    return CanWritePath(folders.oxa) && CanWritePath(folders.oxa + QStringLiteral("/oxaLesson.idx")) &&
           CanWritePath(folders.html) && CanWritePath(folders.html + QStringLiteral("/htmlLesson.idx"));
}

LessonFolders ChooseLessonFolders(const QString& programFolder, const QString& userFolder,
                                  const std::function<bool(const LessonFolders&)>& canWrite) {
    const LessonFolders beside = LessonFoldersIn(programFolder);
    if (canWrite(beside)) {
        return beside;
    }
    const LessonFolders user = LessonFoldersIn(userFolder);
    for (const auto& [from, to] : {std::pair{beside.oxa, user.oxa}, std::pair{beside.html, user.html}}) {
        if (!QFileInfo::exists(to) && QFileInfo(from).isDir()) {
            CopyFolderTree(from, to);
        }
    }
    return user;
}

LessonFolders ProgramLessonFolders() {
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString programFolder = QCoreApplication::applicationDirPath();
    // An installed program ships its sample lessons in its data folder and
    // never writes there, even when it could (run as root).
    if (IsInstalledProgram(programFolder)) {
        return ChooseLessonFolders(ProgramDataFolder(), userFolder,
                                   [](const LessonFolders&) { return false; });
    }
    return ChooseLessonFolders(programFolder, userFolder, CanWriteLessonFolders);
}

} // namespace quillory
