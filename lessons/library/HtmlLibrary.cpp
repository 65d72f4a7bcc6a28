#include "lessons/library/HtmlLibrary.h"

#include "lessons/format/LessonText.h"
#include "lessons/library/FolderCopy.h"

#include <QDir>
#include <QFileInfo>

namespace quillory {

HtmlLessonLibrary::HtmlLessonLibrary(QString folder, MessageReporter& reporter)
    : folder_(QDir::cleanPath(folder)), reporter_(reporter) {}

QString HtmlLessonLibrary::indexPath() const {
    return folder_ + QStringLiteral("/htmlLesson.idx");
}

QString HtmlLessonLibrary::lessonFolder(int id) const {
    return folder_ + u'/' + QString::number(id);
}

int HtmlLessonLibrary::NewHtmlLessonId() const {
    return LessonIndex(indexPath()).NewLessonId();
}

int HtmlLessonLibrary::ImportHtmlLesson(const QString& rootFolder, const QString& indexPage,
                                        const QString& jt, const QString& ft, const QString& py,
                                        const QString& jp, const QString& en) {
    const int id = NewHtmlLessonId();
    if (id < 0) {
        return -1;
    }
    // The copy first, so that no entry names a folder that is missing or
    // half copied.
    if (!CopyFolderTree(rootFolder, lessonFolder(id))) {
        QDir(lessonFolder(id)).removeRecursively();
        return -1;
    }
    const bool indexed = LessonIndex(indexPath())
                             .AppendEntry(id, {{kIndexPageKey, QFileInfo(indexPage).fileName()},
                                               {kEnglishKey, en},
                                               {kJiantiKey, jt},
                                               {kFantiKey, ft},
                                               {kPinyinKey, py},
                                               {kJyutpingKey, jp}});
    if (!indexed) {
        QDir(lessonFolder(id)).removeRecursively();
        reporter_.showMessage(CannotOpenMessage(indexPath()));
        return -1;
    }
    return id;
}

bool HtmlLessonLibrary::ReadHtmlIndexValue(int id, QByteArrayView key, QString& value) const {
    return LessonIndex(indexPath()).ReadValue(id, key, value);
}

bool HtmlLessonLibrary::IsInsideHtmlLibrary(const QString& path) const {
    const QString lowerPath = QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toLower();
    const QString lowerFolder = QDir::cleanPath(QFileInfo(folder_).absoluteFilePath()).toLower();
    return lowerPath == lowerFolder || lowerPath.startsWith(lowerFolder + u'/') ||
           IsSameOrInside(path, folder_);
}

bool HtmlLessonLibrary::FillHtmlLessonList(std::vector<LessonEntry>& list) const {
    list.clear();
    LessonIndexCursor cursor;
    if (!cursor.Open(indexPath())) {
        return false;
    }
    QString title;
    for (int id = cursor.Next(kEnglishKey, title); id >= 0; id = cursor.Next(kEnglishKey, title)) {
        if (!title.isEmpty() && id >= 1 && id <= kMaxLessonId) {
            list.push_back(LessonEntry{id, title});
        }
    }
    return true;
}

QString HtmlLessonLibrary::OpenHtmlLesson(int id) const {
    QString page;
    ReadHtmlIndexValue(id, kIndexPageKey, page);
    // Only a file name: a value naming another folder cannot lead outside.
    page = QFileInfo(page).fileName();
    return page.isEmpty() ? lessonFolder(id) : lessonFolder(id) + u'/' + page;
}

bool HtmlLessonLibrary::RemoveHtmlLesson(int id) {
    if (!LessonIndex(indexPath()).RemoveEntry(id)) {
        reporter_.showMessage(CannotOpenMessage(indexPath()));
        return false;
    }
    QDir(lessonFolder(id)).removeRecursively();
    return true;
}

bool HtmlLessonLibrary::ExportHtmlLesson(int id, const QString& destination) const {
    return QFileInfo(lessonFolder(id)).isDir() && CopyFolderTree(lessonFolder(id), destination);
}

} // namespace quillory
