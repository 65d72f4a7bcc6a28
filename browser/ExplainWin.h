#pragma once
// The browser pane of the main window. It shows the program's embedded pages,
// puts generated HTML into them, keeps track of which page is shown, turns
// clicks on the program's own links into calls of the before-navigate hook,
// shows the program's context menu instead of the browser's and can keep the
// browser's keyboard shortcuts away from result pages.
#include "browser/ScriptMessage.h"
#include "pages/protocol/PageView.h"

#include <QStringList>
#include <QVariant>
#include <QWebEngineView>
#include <functional>

namespace quillory {

class ExplainPage;
class KeyFilter;
class LinkBridge;

class CExplainWin final : public QWebEngineView, public PageView {
    Q_OBJECT
public:
    // Address text -> true to cancel. Own links ("mmpp://...") arrive with
    // their text exactly as written in the page and never load.
    using BeforeNavigateHook = std::function<bool(const QString& address)>;
    // A document finished loading and received its pending body and name.
    using DocumentCompleteHook = std::function<void()>;
    // Right click at a point in global (screen) coordinates.
    using ContextMenuHook = std::function<void(const QPoint& globalPos)>;
    // Outcome of a script call: whether the function ran, and its result.
    using ScriptResult = std::function<void(bool ok, const QVariant& value)>;
    using ExternalOpener = std::function<bool(const QUrl& url)>;

    explicit CExplainWin(QWidget* parent = nullptr);
    ~CExplainWin() override;

    void SetBeforeNavigateHook(BeforeNavigateHook hook) { beforeNavigate_ = std::move(hook); }
    void SetDocumentCompleteHook(DocumentCompleteHook hook) { documentComplete_ = std::move(hook); }
    void SetContextMenuHook(ContextMenuHook hook) { contextMenu_ = std::move(hook); }
    // Where web addresses meant for a new window go; the user's browser by default.
    void SetExternalOpener(ExternalOpener opener);
    // How script alerts and confirms are shown; a modal message box by default.
    void SetMessagePresenter(ScriptMessagePresenter presenter);

    // Stored for the next completed document.
    void SetPendingBody(const QString& html) { pendingBody_ = html; }
    void SetPendingName(const QString& name) { pendingName_ = name; }

    // Loads an embedded page ("index.html", "tech.html"...).
    void Navigate(const QString& resourceName, const QString& pendingBody,
                  const QString& pendingName) override;
    // Loads any address.
    void NavigateTo(const QUrl& url);

    bool SetBody(const QString& html) override;
    QString PageName() const override;
    void SetKeyFilter(bool on) override;
    bool keyFilterOn() const;

    // True once a document has completed and until the next navigation.
    bool hasDocument() const { return hasDocument_; }

    // Calls a function of the page script with text arguments. False when no
    // document is shown or the name is no script identifier; the callback,
    // if any, later learns whether the function existed and ran.
    bool CallScript(const QString& function, const QStringList& args = {}, ScriptResult onResult = {});

signals:
    // The view painted for the first time since a document completed or a
    // body was set and the page had taken it in.
    void pagePainted();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnNavigationAccepted(const QUrl& url);
    void OnLoadFinished(bool ok);
    void OnLinkClicked(const QString& href);
    void AttachKeyFilter();
    // Runs a script and, once the page has run it, waits for the next paint.
    void RunThenAwaitPaint(const QString& script);

    ExplainPage* page_ = nullptr;
    LinkBridge* bridge_ = nullptr;
    KeyFilter* keyFilter_ = nullptr;
    BeforeNavigateHook beforeNavigate_;
    DocumentCompleteHook documentComplete_;
    ContextMenuHook contextMenu_;
    QString pendingBody_;
    QString pendingName_;
    // The name the page script holds, kept here because script calls answer
    // only later; empty while no document of the program is shown.
    QString pageName_;
    bool hasDocument_ = false;
    bool paintPending_ = false;
};

} // namespace quillory
