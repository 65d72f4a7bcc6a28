#pragma once
// Small file helpers for tests that write inputs and read outputs.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace quillory::testing {

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes data as the whole file; false when any of it could not be written.
inline bool WriteFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The names in a folder, hidden ones included, sorted.
inline QStringList FolderContents(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Fills target with links to every file and folder of the data folder
// source except the search history, so that a program run on target writes
// its own history and never the build's. False when a link failed.
inline bool LinkDataFolder(const QString& source, const QString& target) {
    const QDir from(source);
    for (const QString& name : from.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (name != QLatin1String("search.txt") &&
            !QFile::link(from.filePath(name), QDir(target).filePath(name)))
            return false;
    }
    return true;
}

} // namespace quillory::testing
