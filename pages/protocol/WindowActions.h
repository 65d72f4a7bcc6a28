#pragma once
// What the main window does for requests that show no page.
#include "dictionary/text/Romanisation.h"

#include <QString>
#include <cstdint>

namespace quillory {

class WindowActions {
public:
    static constexpr std::uint32_t kNoLesson = 0xFFFFFFFF;

    virtual ~WindowActions() = default;
    // syllable: text with tone digit, "zhong1" or "zung1".
    virtual void PlaySyllable(const QString& syllable, Scheme scheme) = 0;
    // Shows the stroke player over the browser and starts it.
    virtual void StartStroke(std::uint32_t code, int pixelSize) = 0;
    // kNoLesson opens the editor empty.
    virtual void OpenLessonEditor(std::uint32_t lessonId) = 0;
    virtual void OpenHtmlLesson(std::uint32_t lessonId) = 0;
    // Opens an address in the user's web browser.
    virtual void OpenAddress(const QString& url) = 0;
    // Refills the search box's list from the history.
    virtual void RefillSearchBox() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// Shows the wait cursor for its own lifetime.
class WaitCursorGuard {
public:
    explicit WaitCursorGuard(WindowActions& actions) : actions_(actions) { actions_.BeginWaitCursor(); }
    ~WaitCursorGuard() { actions_.EndWaitCursor(); }
    WaitCursorGuard(const WaitCursorGuard&) = delete;
    WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;

private:
    WindowActions& actions_;
};

} // namespace quillory
