#pragma once
// The browser pane as the page logic sees it: which page it shows, replacing
// the shown page's body, and loading an embedded page with a body to insert.
#include <QString>

namespace quillory {

class PageView {
public:
    virtual ~PageView() = default;
    // The name the shown page gave itself; empty when it cannot be asked.
    virtual QString PageName() const = 0;
    // Replaces the shown document's body and scrolls to the top; false when
    // no document is loaded.
    virtual bool SetBody(const QString& html) = 0;
    // On: the browser's own keyboard shortcuts are swallowed.
    virtual void SetKeyFilter(bool on) = 0;
    // Loads the embedded page; once loaded, pendingBody is appended to its
    // body and the page is given pendingName.
    virtual void Navigate(const QString& resourceName, const QString& pendingBody,
                          const QString& pendingName) = 0;
};

} // namespace quillory
