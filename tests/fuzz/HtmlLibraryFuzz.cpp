// The HTML lesson library's index (htmlLesson.idx): the editor's list, each
// lesson's index page and an enumeration by Pinyin title.
#include "lessons/library/HtmlLibrary.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteScratchFile(QStringLiteral("html/htmlLesson.idx"), fuzz::InputBytes(data, size));
    RecordingReporter reporter;
    HtmlLessonLibrary library(fuzz::ScratchFolder().filePath(QStringLiteral("html")), reporter);
    std::vector<LessonEntry> list;
    library.FillHtmlLessonList(list);
    for (const LessonEntry& lesson : list)
        library.OpenHtmlLesson(lesson.id);
    QString value;
    if (library.OpenHtmlIndex()) {
        while (library.NextHtmlLesson("py=", value) >= 0) {
        }
        library.CloseHtmlIndex();
    }
    return 0;
}
