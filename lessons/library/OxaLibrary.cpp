#include "lessons/library/OxaLibrary.h"

#include "lessons/format/LessonText.h"
#include "lessons/format/OxaFile.h"
#include "lessons/format/ReplaceFile.h"

#include <QDir>
#include <QFile>

namespace quillory {

OxaLessonLibrary::OxaLessonLibrary(QString folder, MessageReporter& reporter)
    : folder_(QDir::cleanPath(folder)), reporter_(reporter) {}

QString OxaLessonLibrary::indexPath() const {
    return folder_ + QStringLiteral("/oxaLesson.idx");
}

QString OxaLessonLibrary::lessonPath(int id) const {
    return folder_ + u'/' + QString::number(id) + QStringLiteral(".oxa");
}

int OxaLessonLibrary::NewOxaLessonId() const {
    return LessonIndex(indexPath()).NewLessonId();
}

int OxaLessonLibrary::AddOxaLesson(const Lesson& lesson) {
    const int id = NewOxaLessonId();
    if (id < 0) {
        return -1;
    }
    // The lesson file first: a crash in between leaves a file no entry
    // names, never an entry without its sections.
    QDir().mkpath(folder_);
    const bool written = ReplaceFileContents(lessonPath(id), FormatOxaSections(lesson, 1));
    const LessonSection title = lesson.records.empty() ? Lesson::TitleRecord() : lesson.records.front();
    const bool indexed = LessonIndex(indexPath())
                             .AppendEntry(id, {{kEnglishKey, title.en},
                                               {kJiantiKey, title.jt},
                                               {kFantiKey, title.ft},
                                               {kPinyinKey, title.py},
                                               {kJyutpingKey, title.jp}});
    if (!indexed) {
        if (written) {
            QFile::remove(lessonPath(id));
        }
        reporter_.showMessage(CannotOpenMessage(indexPath()));
        return -1;
    }
    if (!written) {
        reporter_.showMessage(CannotOpenMessage(lessonPath(id)));
    }
    return id;
}

bool OxaLessonLibrary::LoadOxaLesson(int id, Lesson& lesson) const {
    LessonSection title = Lesson::TitleRecord();
    ReadOxaIndexValue(id, kJiantiKey, title.jt);
    ReadOxaIndexValue(id, kFantiKey, title.ft);
    ReadOxaIndexValue(id, kPinyinKey, title.py);
    ReadOxaIndexValue(id, kJyutpingKey, title.jp);
    ReadOxaIndexValue(id, kEnglishKey, title.en);
    lesson.records = {title};
    return ReadOxaFile(lessonPath(id), lesson, false);
}

bool OxaLessonLibrary::ReadOxaIndexValue(int id, QByteArrayView key, QString& value) const {
    return LessonIndex(indexPath()).ReadValue(id, key, value);
}

bool OxaLessonLibrary::RemoveOxaLesson(int id) {
    if (!LessonIndex(indexPath()).RemoveEntry(id)) {
        reporter_.showMessage(CannotOpenMessage(indexPath()));
        return false;
    }
    QFile::remove(lessonPath(id));
    return true;
}

bool OxaLessonLibrary::ExportOxaLesson(int id, const QString& path) const {
    Lesson lesson;
    LoadOxaLesson(id, lesson);
    return WriteOxaFile(path, lesson, reporter_);
}

} // namespace quillory
