#pragma once
// The HTML lesson library: a folder with the index htmlLesson.idx and one
// folder "N" per lesson, a copy of the folder of web pages it was imported
// from. Each index entry names the lesson's index page ("idx=") and holds its
// title in the five forms.
#include "dictionary/text/MessageReporter.h"
#include "lessons/library/LessonIndex.h"

#include <QString>
#include <vector>

namespace quillory {

// The first entry of the editor's list of HTML lessons, selected when nothing is.
inline constexpr char kHtmlLessonPlaceholder[] = "-- Select A Lesson to Export --";

class HtmlLessonLibrary {
public:
    // folder: the library folder ("lesson/html" beside the program).
    HtmlLessonLibrary(QString folder, MessageReporter& reporter);

    const QString& folder() const { return folder_; }
    QString indexPath() const;
    QString lessonFolder(int id) const;

    int NewHtmlLessonId() const;
    // Copies the root folder into a new lesson folder, then adds the index
    // entry, its "idx=" being the index page's file name. -1 when the copy
    // fails (the partial copy is removed and no entry added) or the index
    // cannot be written (reported).
    int ImportHtmlLesson(const QString& rootFolder, const QString& indexPage, const QString& jt,
                         const QString& ft, const QString& py, const QString& jp, const QString& en);
    bool ReadHtmlIndexValue(int id, QByteArrayView key, QString& value) const;

    // One enumeration of the index at a time.
    bool OpenHtmlIndex() { return cursor_.Open(indexPath()); }
    int NextHtmlLesson(QByteArrayView key, QString& value) { return cursor_.Next(key, value); }
    void CloseHtmlIndex() { cursor_.Close(); }
    std::vector<LessonEntry> Lessons(QByteArrayView key) const { return ListLessons(indexPath(), key); }

    // True when the path, compared without regard to case, is the library
    // folder or lies inside it.
    bool IsInsideHtmlLibrary(const QString& path) const;
    // The lessons with a non-empty English title, in index order, for the
    // editor's list (after the placeholder). False when the index cannot be
    // read; the list is then empty.
    bool FillHtmlLessonList(std::vector<LessonEntry>& list) const;
    // The file the user's browser opens for a lesson: its index page, or the
    // lesson folder when the id has no entry.
    QString OpenHtmlLesson(int id) const;

    // Rewrites the index without the lesson and deletes its folder. False
    // (reported) when the index cannot be rewritten.
    bool RemoveHtmlLesson(int id);
    // Copies the lesson folder into the destination folder.
    bool ExportHtmlLesson(int id, const QString& destination) const;

private:
    QString folder_;
    MessageReporter& reporter_;
    LessonIndexCursor cursor_;
};

} // namespace quillory
