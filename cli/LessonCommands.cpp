#include "cli/LessonCommands.h"

#include "lessons/format/LessonText.h"
#include "lessons/format/OxaFile.h"
#include "lessons/library/HtmlLibrary.h"
#include "lessons/library/OxaLibrary.h"

#include <QJsonArray>

namespace quillory::cli {
namespace {

const QString kListCommand = QStringLiteral("lessons");
const QString kLessonCommand = QStringLiteral("lesson");
const QString kExportOption = QStringLiteral("--export");

// Line breaks inside a value shown on one line.
QString OneLine(const QString& text) {
    return QString(text).replace(u'\n', QStringLiteral("\\n"));
}

QString FormsLine(const LessonSection& record) {
    return QStringList{record.jt, record.ft, record.py, record.jp, record.en}.join(QStringLiteral(" | "));
}

Answer ListLessons(const LessonFolders& folders) {
    RecordingReporter reporter;
    const OxaLessonLibrary oxa(folders.oxa, reporter);
    const HtmlLessonLibrary html(folders.html, reporter);
    Answer answer;
    QJsonArray list;
    for (const LessonEntry& entry : oxa.Lessons(kEnglishKey)) {
        Lesson lesson;
        oxa.LoadOxaLesson(entry.id, lesson);
        const int sections = lesson.count() - 1;
        list.append(
            QJsonObject{{"id", entry.id}, {"kind", "oxa"}, {"title", entry.title}, {"sections", sections}});
        answer.text += QStringLiteral("oxa  %1  %2 (%3 sections)\n")
                           .arg(entry.id)
                           .arg(OneLine(entry.title))
                           .arg(sections);
    }
    for (const LessonEntry& entry : html.Lessons(kEnglishKey)) {
        list.append(QJsonObject{{"id", entry.id}, {"kind", "html"}, {"title", entry.title}});
        answer.text += QStringLiteral("html %1  %2\n").arg(entry.id).arg(OneLine(entry.title));
    }
    answer.json.insert(QStringLiteral("lessons"), list);
    if (list.isEmpty()) {
        answer.text = QStringLiteral("No lessons.\n");
    }
    return answer;
}

Answer ShowLesson(int id, const LessonFolders& folders, const QString& exportPath) {
    RecordingReporter reporter;
    const OxaLessonLibrary library(folders.oxa, reporter);
    const std::vector<LessonEntry> lessons = library.Lessons(kEnglishKey);
    if (std::none_of(lessons.begin(), lessons.end(),
                     [id](const LessonEntry& entry) { return entry.id == id; })) {
        return Failure(kNotFound, QStringLiteral("no Oxa lesson has the id %1").arg(id));
    }
    Lesson lesson;
    library.LoadOxaLesson(id, lesson);
    if (!exportPath.isEmpty()) {
        if (!WriteOxaFile(exportPath, lesson, reporter)) {
            return Failure(kNotFound, reporter.messages.join(u' '));
        }
        Answer answer;
        answer.text = QStringLiteral("Lesson %1 written to %2\n").arg(id).arg(exportPath);
        answer.json = QJsonObject{{"id", id}, {"exported", exportPath}};
        return answer;
    }
    const LessonSection& title = lesson.records.front();
    Answer answer;
    answer.text = QStringLiteral("Lesson %1: %2\n").arg(id).arg(OneLine(FormsLine(title)));
    QJsonArray sections;
    for (int i = 1; i < lesson.count(); ++i) {
        const LessonSection& section = lesson.records[i];
        sections.append(QJsonObject{{"title", section.title},
                                    {"jianti", section.jt},
                                    {"fanti", section.ft},
                                    {"pinyin", section.py},
                                    {"jyutping", section.jp},
                                    {"english", section.en}});
        answer.text +=
            QStringLiteral("%1. %2: %3\n").arg(i).arg(OneLine(section.title), OneLine(FormsLine(section)));
    }
    answer.json = QJsonObject{
        {"id", id},
        {"title",
         QJsonObject{
             {"en", title.en}, {"jt", title.jt}, {"ft", title.ft}, {"py", title.py}, {"jp", title.jp}}},
        {"sections", sections}};
    return answer;
}

} // namespace

bool IsLessonCommand(const QStringList& words) {
    return !words.isEmpty() && (words.first() == kListCommand || words.first() == kLessonCommand);
}

Answer RunLessonCommand(const QStringList& words, const LessonFolders& folders) {
    if (words.first() == kListCommand) {
        if (words.size() != 1) {
            return Failure(kBadUsage, QStringLiteral("'lessons' takes no argument"));
        }
        return ListLessons(folders);
    }
    bool ok = false;
    const int id = words.value(1).toInt(&ok);
    const bool exporting = words.size() == 4 && words[2] == kExportOption;
    if (!ok || id < 1 || id > kMaxLessonId || (words.size() != 2 && !exporting)) {
        return Failure(kBadUsage, QStringLiteral("'lesson' takes a lesson id from 1 to %1 and optionally "
                                                 "--export FILE")
                                      .arg(kMaxLessonId));
    }
    return ShowLesson(id, folders, exporting ? words[3] : QString());
}

QString LessonUsageText() {
    return QStringLiteral(
        "\nLesson commands (they need no dictionary data):\n"
        "  lessons            the Oxa and HTML lessons of the lesson libraries\n"
        "  lesson 1           one Oxa lesson: its title and every section in five forms\n"
        "  lesson 1 --export FILE.oxa   the same lesson as a standalone lesson file\n"
        "--lessons FOLDER reads the libraries FOLDER/oxa and FOLDER/html instead of lesson/\n"
        "beside the program.\n");
}

} // namespace quillory::cli
