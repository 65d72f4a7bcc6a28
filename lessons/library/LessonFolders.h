#pragma once
// Where the lesson libraries are: "lesson/oxa" and "lesson/html" beside the
// program while that folder can be written, else the same folders in the
// user's data folder, made the first time as a copy of the shipped ones so
// that the shipped lessons stay listed beside the user's own.
#include <QString>
#include <functional>

namespace quillory {

struct LessonFolders {
    QString oxa;
    QString html;
};

// The libraries "oxa" and "html" of a lesson folder.
LessonFolders LessonFoldersOf(const QString& lessonFolder);
// The lesson folders under a root folder ("ROOT/lesson/oxa", "ROOT/lesson/html").
LessonFolders LessonFoldersIn(const QString& root);

// The folders beside the program when canWrite allows writing there, else
// the user's, seeded from the program's when the user has none yet.
LessonFolders ChooseLessonFolders(const QString& programFolder, const QString& userFolder,
                                  const std::function<bool(const LessonFolders&)>& canWrite);
// True when both libraries can be written: each folder and its index, where
// they exist, or else the nearest folder that does.
bool CanWriteLessonFolders(const LessonFolders& folders);
// ChooseLessonFolders for this program: its own folder, the user's
// QStandardPaths::AppDataLocation and CanWriteLessonFolders; installed, the
// user's folder always, seeded from the lessons in the installed data folder.
LessonFolders ProgramLessonFolders();

} // namespace quillory
