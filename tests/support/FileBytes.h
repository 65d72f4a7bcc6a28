#pragma once
// Whole-file reads and writes for tests that write, damage or compare data files.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace quillory::testing {

// Replaces the file with bytes; false when it cannot be written.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The whole file; empty when it cannot be read.
inline QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quillory::testing
