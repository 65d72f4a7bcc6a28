#pragma once
// What the main window does for requests that show no page, one small
// interface per feature: the page actions every window has, the stroke
// player's and the lessons'. A window hands the dispatcher only those it has.
#include "dictionary/text/Romanisation.h"

#include <QString>
#include <cstdint>

namespace quillory {

class PageActions {
public:
    virtual ~PageActions() = default;
    // syllable: text with tone digit, "zhong1" or "zung1".
    virtual void PlaySyllable(const QString& syllable, Scheme scheme) = 0;
    // Opens an address in the user's web browser.
    virtual void OpenAddress(const QString& url) = 0;
    // Refills the search box's list from the history.
    virtual void RefillSearchBox() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

class StrokeActions {
public:
    virtual ~StrokeActions() = default;
    // Shows the stroke player over the browser and starts it.
    virtual void StartStroke(std::uint32_t code, int pixelSize) = 0;
};

class LessonActions {
public:
    static constexpr std::uint32_t kNoLesson = 0xFFFFFFFF;

    virtual ~LessonActions() = default;
    // kNoLesson opens the editor empty.
    virtual void OpenLessonEditor(std::uint32_t lessonId) = 0;
    virtual void OpenHtmlLesson(std::uint32_t lessonId) = 0;
};

// Every feature's actions at once, for recorders that take any request.
class WindowActions : public PageActions, public StrokeActions, public LessonActions {};

// Shows the wait cursor for its own lifetime.
class WaitCursorGuard {
public:
    explicit WaitCursorGuard(PageActions& actions) : actions_(actions) { actions_.BeginWaitCursor(); }
    ~WaitCursorGuard() { actions_.EndWaitCursor(); }
    WaitCursorGuard(const WaitCursorGuard&) = delete;
    WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;

private:
    PageActions& actions_;
};

} // namespace quillory
