// A lesson library's index (oxaLesson.idx): listed, searched for a new id,
// read by id and rewritten without an entry, as the tree and the editor do.
#include "lessons/library/LessonIndex.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path =
        fuzz::WriteScratchFile(QStringLiteral("oxa/oxaLesson.idx"), fuzz::InputBytes(data, size));
    const std::vector<LessonEntry> lessons = ListLessons(path, "en=");
    const LessonIndex index(path);
    index.NewLessonId();
    QString value;
    for (const LessonEntry& lesson : lessons)
        index.ReadValue(lesson.id, "jt=", value);
    if (!lessons.empty())
        index.RemoveEntry(lessons.front().id);
    return 0;
}
