#pragma once
// A small data folder compiled from the source extracts in tests/data, for
// tests that need real data files without the full build.
#include "datagen/DataCompiler.h"

#include <QString>

namespace quillory::testing {

// The compiler inputs for the extracts, writing into outDir.
datagen::CompilerInputs SmallDataInputs(const QString& outDir);

// Compiles the extracts once per process into a temporary folder (removed
// at exit) and returns its path; empty with the reason on failure.
QString BuildSmallDataFolder(QString* error);

} // namespace quillory::testing
