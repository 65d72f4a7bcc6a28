#pragma once
// The data folder and the five data files, open from start-up to exit.
#include "dictionary/text/MessageReporter.h"

#include <QFile>
#include <QString>
#include <array>
#include <memory>

namespace quillory {

enum class ListFile { StrokeCount, Pinyin, Jyutping, Radical };

class DataFiles {
public:
    DataFiles(QString dataFolder, MessageReporter& reporter);
    ~DataFiles();

    // Path of a file in the data folder.
    QString DataPath(const QString& name) const;
    const QString& dataFolder() const { return folder_; }

    // Closes every handle, then opens oxa.dat, ghi.dat, ijk.dat, jkl.dat and
    // hij.dat in that order; each failure is reported; true when all opened.
    bool OpenDataFiles();
    void CloseDataFiles();

    // Open handles, or nullptr when that file did not open.
    QFile* indexFile();
    QFile* listFile(ListFile which);

private:
    QString folder_;
    MessageReporter& reporter_;
    std::unique_ptr<QFile> index_;
    std::array<std::unique_ptr<QFile>, 4> lists_;
};

} // namespace quillory
