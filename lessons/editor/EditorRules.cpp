#include "lessons/editor/EditorRules.h"

#include "lessons/library/HtmlLibrary.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace quillory {
namespace {

const LessonSection kNewSection{QStringLiteral("new section"), {}, {}, {}, {}, {}};

} // namespace

QString EditorCaption(bool editMode, int current, int count, const QString& englishTitle) {
    const char* format = editMode ? "Tessaravin - Quillory - Lesson Editor (%1/%2 : %3)"
                                  : "Tessaravin - Quillory - Oxa Lesson (%1/%2 : %3)";
    return QString::fromLatin1(format).arg(current + 1).arg(count).arg(englishTitle);
}

QString LessonIdText(int id) {
    return QStringLiteral("Lesson ID: %1").arg(id);
}

QString OfferedSaveName(bool libraryLesson, const QString& fileField, const QString& englishTitle) {
    if (libraryLesson || fileField.trimmed().isEmpty()) {
        return englishTitle.isEmpty() ? QString() : englishTitle + QStringLiteral(".oxa");
    }
    return QFileInfo(fileField.trimmed()).fileName();
}

QString WithOxaExtension(const QString& path) {
    return path.endsWith(QStringLiteral(".oxa"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".oxa");
}

bool AddSection(Lesson& lesson, int& current) {
    if (lesson.isFull()) {
        return false;
    }
    lesson.records.push_back(kNewSection);
    current = lesson.count() - 1;
    return true;
}

bool InsertSection(Lesson& lesson, int& current, bool after) {
    const int at = after ? current + 1 : current;
    if (lesson.isFull() || at < 1 || at > lesson.count()) {
        return false;
    }
    lesson.records.insert(lesson.records.begin() + at, kNewSection);
    current = at;
    return true;
}

bool DeleteSection(Lesson& lesson, int& current) {
    if (current < 1 || current >= lesson.count()) {
        return false;
    }
    lesson.records.erase(lesson.records.begin() + current);
    current = std::min(current, lesson.count() - 1);
    return true;
}

std::optional<ImportProblem> CheckTitles(const LessonSection& title) {
    const struct {
        const QString& text;
        const char* message;
        ImportField field;
    } checks[] = {
        {title.jt, "Please give a Simplified Chinese Title of the lesson.", ImportField::Jianti},
        {title.ft, "Please give a Traditional Chinese Title of the lesson.", ImportField::Fanti},
        {title.py, "Please give a Pinyin Title of the lesson.", ImportField::Pinyin},
        {title.jp, "Please give a Jyutping Title of the lesson.", ImportField::Jyutping},
        {title.en, "Please give an English Title of the lesson.", ImportField::English},
    };
    for (const auto& check : checks) {
        if (check.text.trimmed().isEmpty()) {
            return ImportProblem{QString::fromLatin1(check.message), check.field};
        }
    }
    return std::nullopt;
}

std::optional<ImportProblem> CheckHtmlImport(const QString& rootFolder, const QString& indexFile,
                                             const LessonSection& title, const HtmlLessonLibrary& library) {
    const QString root = rootFolder.trimmed();
    const QString page = indexFile.trimmed();
    if (root.isEmpty()) {
        return ImportProblem{
            QStringLiteral("Please give the folder that contains the HTML lesson to be imported."),
            ImportField::FolderBrowse};
    }
    if (library.IsInsideHtmlLibrary(root)) {
        return ImportProblem{
            QStringLiteral("A given Root folder cannot be a subfolder of %1").arg(library.folder() + u'/'),
            ImportField::FolderBrowse};
    }
    if (page.isEmpty()) {
        return ImportProblem{
            QStringLiteral("Please choose the default index file of the HTML lesson to be imported."),
            ImportField::FileBrowse};
    }
    if (!QFileInfo(page).isFile()) {
        return ImportProblem{QStringLiteral("Cannot find the given default index file."),
                             ImportField::FileBrowse};
    }
    return CheckTitles(title);
}

QStringList SpokenSyllables(const QString& text) {
    static const QRegularExpression syllable(QStringLiteral("[A-Za-z]+[1-6]"));
    QStringList syllables;
    for (auto match = syllable.globalMatch(text); match.hasNext();) {
        syllables.append(match.next().captured().toLower());
    }
    return syllables;
}

} // namespace quillory
