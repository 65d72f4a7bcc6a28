#pragma once
// The lesson side of the look-up tool: "lessons" lists both lesson libraries,
// "lesson ID" prints one Oxa lesson and "lesson ID --export FILE" writes it
// as a standalone lesson file. They need no dictionary data.
#include "cli/LookupCommands.h"
#include "lessons/library/LessonFolders.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillory::cli {

// True when the words ask for a lesson command.
bool IsLessonCommand(const QStringList& words);

// Answers "lessons" or "lesson ID [--export FILE]" over the libraries.
Answer RunLessonCommand(const QStringList& words, const LessonFolders& folders);

QString LessonUsageText();

} // namespace quillory::cli
