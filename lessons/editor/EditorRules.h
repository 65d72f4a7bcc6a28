#pragma once
// The Lesson Editor's rules that need no window: captions, file names,
// section insertion, and the checks an import runs before it adds a lesson.
#include "lessons/format/Lesson.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillory {

class HtmlLessonLibrary;

// "Tessaravin - Quillory - Lesson Editor (2/5 : Greetings)" while editing,
// "... - Oxa Lesson (...)" while viewing a library lesson.
QString EditorCaption(bool editMode, int current, int count, const QString& englishTitle);
// "Lesson ID: 7".
QString LessonIdText(int id);

// The file name the save dialog offers: the English title + ".oxa" for a
// library lesson or an empty File field (nothing without a title), else the
// file-name part of the File field.
QString OfferedSaveName(bool libraryLesson, const QString& fileField, const QString& englishTitle);
// ".oxa" appended unless the name ends with it in any letter case.
QString WithOxaExtension(const QString& path);

// Adds a new section after the last record, or inserts it after or at
// (before) the current one; the new section becomes current. False, with
// nothing changed, on a full lesson or an insertion ahead of the title record.
bool AddSection(Lesson& lesson, int& current);
bool InsertSection(Lesson& lesson, int& current, bool after);
// Removes the current section (never the title record); the one after it,
// or else the one before, becomes current.
bool DeleteSection(Lesson& lesson, int& current);

// The import fields, in the order they are checked, and what a failed check
// names: the message and the field or button that takes the focus.
enum class ImportField { FolderBrowse, FileBrowse, Jianti, Fanti, Pinyin, Jyutping, English };
struct ImportProblem {
    QString message;
    ImportField focus = ImportField::Jianti;
    friend bool operator==(const ImportProblem&, const ImportProblem&) = default;
};
// The five title forms (trimmed of spaces): the first one empty.
std::optional<ImportProblem> CheckTitles(const LessonSection& title);
// The HTML import's checks, in order: root folder given and outside the
// library, index page given and existing, the five titles.
std::optional<ImportProblem> CheckHtmlImport(const QString& rootFolder, const QString& indexFile,
                                             const LessonSection& title, const HtmlLessonLibrary& library);

// The syllables of a Pinyin or Jyutping text with their tone digits, in order.
QStringList SpokenSyllables(const QString& text);

} // namespace quillory
