// A lesson file: opened as a standalone lesson (cleared first) and as a
// library lesson appended to a title record, then written back.
#include "lessons/format/OxaFile.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::WriteScratchFile(QStringLiteral("lesson.oxa"), fuzz::InputBytes(data, size));
    Lesson standalone;
    if (ReadOxaFile(path, standalone, true)) {
        RecordingReporter reporter;
        WriteOxaFile(fuzz::ScratchFolder().filePath(QStringLiteral("saved.oxa")), standalone, reporter);
    }
    Lesson library = Lesson::NewLesson();
    ReadOxaFile(path, library, false);
    FormatOxaSections(library, 1);
    return 0;
}
