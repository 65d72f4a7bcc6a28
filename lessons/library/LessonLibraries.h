#pragma once
// The program's two lesson libraries and what the window does for lesson
// requests: an HTML lesson opens in the user's web browser, an Oxa lesson in
// the Lesson Editor.
#include "dictionary/text/MessageReporter.h"
#include "lessons/library/HtmlLibrary.h"
#include "lessons/library/LessonFolders.h"
#include "lessons/library/OxaLibrary.h"
#include "pages/protocol/WindowActions.h"

#include <QUrl>
#include <functional>

namespace quillory {

class LessonLibraries final : public LessonActions {
public:
    using UrlOpener = std::function<bool(const QUrl&)>;
    using EditorOpener = std::function<void(std::uint32_t lessonId)>;

    LessonLibraries(const LessonFolders& folders, MessageReporter& reporter);

    OxaLessonLibrary& oxa() { return oxa_; }
    HtmlLessonLibrary& html() { return html_; }
    const OxaLessonLibrary& oxa() const { return oxa_; }
    const HtmlLessonLibrary& html() const { return html_; }

    // How addresses reach the user's browser, and how the editor opens.
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }
    void setEditorOpener(EditorOpener opener) { openEditor_ = std::move(opener); }

    void OpenLessonEditor(std::uint32_t lessonId) override;
    // Opens the lesson's index page (its folder when it has no entry).
    void OpenHtmlLesson(std::uint32_t lessonId) override;

private:
    OxaLessonLibrary oxa_;
    HtmlLessonLibrary html_;
    UrlOpener openUrl_;
    EditorOpener openEditor_;
};

} // namespace quillory
