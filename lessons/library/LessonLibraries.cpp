#include "lessons/library/LessonLibraries.h"

namespace quillory {

LessonLibraries::LessonLibraries(const LessonFolders& folders, MessageReporter& reporter)
    : oxa_(folders.oxa, reporter), html_(folders.html, reporter) {}

void LessonLibraries::OpenLessonEditor(std::uint32_t lessonId) {
    if (openEditor_) {
        openEditor_(lessonId);
    }
}

void LessonLibraries::OpenHtmlLesson(std::uint32_t lessonId) {
    if (openUrl_ && lessonId >= 1 && lessonId <= std::uint32_t(kMaxLessonId)) {
        openUrl_(QUrl::fromLocalFile(html_.OpenHtmlLesson(int(lessonId))));
    }
}

} // namespace quillory
