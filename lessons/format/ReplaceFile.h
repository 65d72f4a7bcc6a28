#pragma once
// Every rewrite of a lesson or index file goes through a temporary file in
// the same folder that then replaces the old file in one rename, so a crash
// leaves either the old file or the new one, never half a file.
#include <QByteArray>
#include <QString>
#include <functional>

namespace quillory {

// Writes the bytes as the whole file. False when the file could not be
// written; the old file is then unchanged.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes);

// Runs with the file's path after its new contents are written and before
// they replace it; tests stop a process there to act out a crash. Empty:
// nothing runs.
void SetBeforeReplaceHook(std::function<void(const QString& path)> hook);

} // namespace quillory
