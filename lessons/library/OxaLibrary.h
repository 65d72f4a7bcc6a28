#pragma once
// The Oxa lesson library: a folder with the index oxaLesson.idx and one
// lesson file "N.oxa" per lesson, holding its sections in the library form.
#include "dictionary/text/MessageReporter.h"
#include "lessons/format/Lesson.h"
#include "lessons/library/LessonIndex.h"

#include <QString>

namespace quillory {

class OxaLessonLibrary {
public:
    // folder: the library folder ("lesson/oxa" beside the program).
    OxaLessonLibrary(QString folder, MessageReporter& reporter);

    const QString& folder() const { return folder_; }
    QString indexPath() const;
    QString lessonPath(int id) const;

    int NewOxaLessonId() const;
    // Adds the lesson: a lesson file of its sections and an index entry of
    // its title record. Returns the new id, or -1 (with the message "Cannot
    // open PATH to read or write.") when the index cannot be written. A
    // lesson file that cannot be written is reported too; the lesson then
    // stays in the index without sections.
    int AddOxaLesson(const Lesson& lesson);
    // The title record from the index, the sections from the lesson file.
    // False when the lesson file cannot be read; the lesson then holds the
    // title record only.
    bool LoadOxaLesson(int id, Lesson& lesson) const;
    bool ReadOxaIndexValue(int id, QByteArrayView key, QString& value) const;

    // One enumeration of the index at a time.
    bool OpenOxaIndex() { return cursor_.Open(indexPath()); }
    int NextOxaLesson(QByteArrayView key, QString& value) { return cursor_.Next(key, value); }
    void CloseOxaIndex() { cursor_.Close(); }
    // Every lesson with its title under the key.
    std::vector<LessonEntry> Lessons(QByteArrayView key) const { return ListLessons(indexPath(), key); }

    // Rewrites the index without the lesson and deletes its file. False
    // (reported) when the index cannot be rewritten.
    bool RemoveOxaLesson(int id);
    // Writes the lesson in the standalone form. False when it cannot be
    // loaded or written (reported).
    bool ExportOxaLesson(int id, const QString& path) const;

private:
    QString folder_;
    MessageReporter& reporter_;
    LessonIndexCursor cursor_;
};

} // namespace quillory
