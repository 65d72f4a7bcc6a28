#pragma once
// Reading source files that may be bzip2-compressed.
#include <QByteArray>
#include <QString>

namespace quillory::datagen {

// Decompresses a complete .bz2 image (several concatenated streams allowed).
bool DecompressBzip2(const QByteArray& compressed, QByteArray* out, QString* error);

// Reads a whole file; content that starts with the bzip2 signature is
// decompressed, anything else is returned as it stands.
bool ReadSourceFile(const QString& path, QByteArray* content, QString* error);

// The path of "name.bz2" or else "name" inside dir; empty when neither exists.
QString FindSourceFile(const QString& dir, const QString& name);

} // namespace quillory::datagen
