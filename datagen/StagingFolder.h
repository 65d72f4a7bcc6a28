#pragma once
// A temporary folder beside a data folder: the files are written there and
// moved into the data folder together only when all of them are complete.
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace quillory::datagen {

class StagingFolder {
public:
    explicit StagingFolder(QString outDir);

    // Creates the staging folder (and the data folder's parent when needed).
    bool Create(QString* error);
    QString path() const;
    QString FilePath(const QString& name) const;

    // Moves every staged file into the data folder, replacing files of the
    // same name. When a move fails, the files moved so far are taken back and
    // the replaced ones restored, so the data folder is never left mixed.
    // Other files of the data folder are not touched.
    bool Commit(QString* error);

private:
    QString outDir_;
    std::unique_ptr<QTemporaryDir> dir_;
};

} // namespace quillory::datagen
