#pragma once
// quillory-cli convert --from KIND --to KIND [--variant tw|hk]: standard
// input converted as the Converter window converts it, to standard output.
#include <QString>
#include <QStringList>

namespace quillory::cli {

// words: the command line's words from "convert" on.
bool IsConvertCommand(const QStringList& words);

// Exit status: 0 converted, 2 bad usage (unknown kind or option, or a
// conversion that is not offered), 3 the dictionary's words cannot be read.
int RunConvertCommand(const QStringList& words, const QString& dataFolder);

QString ConvertUsageText();

} // namespace quillory::cli
