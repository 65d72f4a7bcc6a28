#pragma once
// The page inside the browser pane. It asks a hook before every navigation,
// never opens the program's own links as addresses, never opens windows of its
// own (web addresses meant for a new window go to the user's browser) and
// shows script message boxes with the program's caption.
#include "browser/ScriptMessage.h"

#include <QUrl>
#include <QWebEnginePage>
#include <functional>

class QWebEngineNewWindowRequest;

namespace quillory {

class ExplainPage final : public QWebEnginePage {
    Q_OBJECT
public:
    // Address text -> true to cancel the navigation.
    using NavigationHook = std::function<bool(const QString& address)>;
    // A main-frame navigation that goes ahead: the shown document is replaced.
    using NavigationAccepted = std::function<void(const QUrl& url)>;
    // Opens a web address outside the program; true on success.
    using ExternalOpener = std::function<bool(const QUrl& url)>;

    ExplainPage(QWebEngineProfile* profile, QObject* parent);

    void SetNavigationHook(NavigationHook hook) { navigationHook_ = std::move(hook); }
    void SetNavigationAccepted(NavigationAccepted callback) { navigationAccepted_ = std::move(callback); }
    void SetExternalOpener(ExternalOpener opener) { externalOpener_ = std::move(opener); }
    void SetMessagePresenter(ScriptMessagePresenter presenter) { presenter_ = std::move(presenter); }

    // The box a script alert or confirm is shown as.
    static ScriptMessage MakeScriptMessage(const QString& text, bool withCancel);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;

private:
    void OnNewWindowRequested(QWebEngineNewWindowRequest& request);
    bool Present(const ScriptMessage& message);

    NavigationHook navigationHook_;
    NavigationAccepted navigationAccepted_;
    ExternalOpener externalOpener_;
    ScriptMessagePresenter presenter_;
};

} // namespace quillory
