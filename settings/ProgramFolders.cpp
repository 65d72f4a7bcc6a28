#include "settings/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quillory {
namespace {

QString BesideFolder(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("demo"));
}

// The installed data folder relative to the installed programs' folder, set
// by the build from its install layout ("../share/quillory").
QString InstalledFolder(const QString& programFolder) {
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(QUILLORY_INSTALLED_DATA_FROM_BIN)));
}

} // namespace

bool IsInstalledProgram(const QString& programFolder) {
    return !QFileInfo(BesideFolder(programFolder)).isDir() &&
           QFileInfo(InstalledFolder(programFolder)).isDir();
}

QString DataFolderFor(const QString& programFolder) {
    return IsInstalledProgram(programFolder) ? InstalledFolder(programFolder) : BesideFolder(programFolder);
}

QString ProgramDataFolder() {
    return DataFolderFor(QCoreApplication::applicationDirPath());
}

} // namespace quillory
