#include "datagen/StagingFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>
#include <vector>

namespace quillory::datagen {

StagingFolder::StagingFolder(QString outDir) : outDir_(QDir::cleanPath(QDir(outDir).absolutePath())) {}

bool StagingFolder::Create(QString* error) {
    const QFileInfo out(outDir_);
    if (out.exists() && !out.isDir()) {
        *error = QStringLiteral("%1 exists and is no folder").arg(outDir_);
        return false;
    }
    const QString parent = out.absolutePath();
    if (!QDir().mkpath(parent)) {
        *error = QStringLiteral("cannot create the folder %1").arg(parent);
        return false;
    }
    // Beside the data folder, so that the final moves are renames on one file system.
    dir_ = std::make_unique<QTemporaryDir>(
        QDir(parent).filePath(QStringLiteral(".%1.staging-XXXXXX").arg(out.fileName())));
    if (!dir_->isValid()) {
        *error = QStringLiteral("cannot create a staging folder in %1: %2").arg(parent, dir_->errorString());
        dir_.reset();
        return false;
    }
    return true;
}

QString StagingFolder::path() const {
    return dir_ ? dir_->path() : QString();
}

QString StagingFolder::FilePath(const QString& name) const {
    return dir_ ? dir_->filePath(name) : QString();
}

bool StagingFolder::Commit(QString* error) {
    if (!dir_) {
        *error = QStringLiteral("no staging folder");
        return false;
    }
    if (!QDir().mkpath(outDir_)) {
        *error = QStringLiteral("cannot create the folder %1").arg(outDir_);
        return false;
    }
    const QDir out(outDir_);
    const QStringList names = QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden);
    std::vector<QString> placed;                       // targets now holding new files
    std::vector<std::pair<QString, QString>> replaced; // backup -> target

    const auto rollBack = [&]() {
        for (const QString& target : placed)
            QFile::remove(target);
        for (const auto& [backup, target] : replaced)
            QFile::rename(backup, target);
    };

    for (const QString& name : names) {
        const QString target = out.filePath(name);
        if (QFileInfo::exists(target)) {
            const QString backup = out.filePath(QStringLiteral(".%1.replaced").arg(name));
            QFile::remove(backup);
            if (!QFile::rename(target, backup)) {
                rollBack();
                *error = QStringLiteral("cannot replace %1").arg(target);
                return false;
            }
            replaced.emplace_back(backup, target);
        }
        if (!QFile::rename(dir_->filePath(name), target)) {
            rollBack();
            *error = QStringLiteral("cannot move %1 into %2").arg(name, outDir_);
            return false;
        }
        placed.push_back(target);
    }
    for (const auto& [backup, target] : replaced)
        QFile::remove(backup);
    return true;
}

} // namespace quillory::datagen
