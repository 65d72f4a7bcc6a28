#include "browser/ExplainPage.h"

#include "browser/LinkScheme.h"

#include <QDesktopServices>
#include <QWebEngineNewWindowRequest>
#include <QWidget>

namespace quillory {
namespace {

bool IsWebAddress(const QUrl& url) {
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// A navigation inside the shown document (to a fragment) keeps the document.
bool IsSameDocument(const QUrl& from, const QUrl& to) {
    return to.hasFragment() && from.adjusted(QUrl::RemoveFragment) == to.adjusted(QUrl::RemoveFragment);
}

} // namespace

ExplainPage::ExplainPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent),
      externalOpener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    connect(this, &QWebEnginePage::newWindowRequested, this, &ExplainPage::OnNewWindowRequested);
}

ScriptMessage ExplainPage::MakeScriptMessage(const QString& text, bool withCancel) {
    ScriptMessage message;
    message.caption = QString::fromLatin1(kScriptMessageCaption);
    message.text = text;
    message.icon = QMessageBox::Information;
    message.buttons = withCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok;
    return message;
}

bool ExplainPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    // Own links arrive through the link bridge with their exact text; one
    // that gets this far (from script, say) is never opened. Its address may
    // not even be a valid URL any more, so nothing is made of it.
    if (url.scheme() == QLatin1String(kLinkScheme) ||
        url.toString().startsWith(QLatin1String(kLinkPrefix)))
        return false;
    if (navigationHook_ && navigationHook_(url.toString()))
        return false;
    if (isMainFrame && navigationAccepted_ && !IsSameDocument(this->url(), url))
        navigationAccepted_(url);
    return true;
}

QWebEnginePage* ExplainPage::createWindow(WebWindowType) {
    // The pane is the program's only browser window.
    return nullptr;
}

void ExplainPage::OnNewWindowRequested(QWebEngineNewWindowRequest& request) {
    const QUrl url = request.requestedUrl();
    if (IsWebAddress(url) && externalOpener_)
        externalOpener_(url);
}

bool ExplainPage::Present(const ScriptMessage& message) {
    if (presenter_)
        return presenter_(message);
    QMessageBox box(message.icon, message.caption, message.text, message.buttons,
                    qobject_cast<QWidget*>(parent()));
    return box.exec() == QMessageBox::Ok;
}

void ExplainPage::javaScriptAlert(const QUrl&, const QString& msg) {
    Present(MakeScriptMessage(msg, false));
}

bool ExplainPage::javaScriptConfirm(const QUrl&, const QString& msg) {
    return Present(MakeScriptMessage(msg, true));
}

} // namespace quillory
