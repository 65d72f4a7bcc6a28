#pragma once
// Where the program's data lie: "demo/" beside the program when it is there
// (the build folder), else the installed data folder "share/quillory" of the
// prefix the program was installed into. An installed program only reads
// there; everything it writes goes to the user's folders.
#include <QString>

namespace quillory {

// The data folder beside programFolder when it exists, else the installed one
// relative to programFolder, else (neither exists) the one beside it, so that
// messages about missing data name the folder a build would have.
QString DataFolderFor(const QString& programFolder);
// True when programFolder has no data folder beside it: the program runs
// from an installed prefix, which it never writes.
bool IsInstalledProgram(const QString& programFolder);
// DataFolderFor the folder of the running program.
QString ProgramDataFolder();

} // namespace quillory
