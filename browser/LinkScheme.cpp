#include "browser/LinkScheme.h"

#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace quillory {

bool LinkSchemeRegistered() {
    return !QWebEngineUrlScheme::schemeByName(kLinkScheme).name().isEmpty();
}

void RegisterLinkScheme() {
    if (LinkSchemeRegistered())
        return;
    // Path syntax: "mmpp://0=4E2D" has no host part the engine could reject.
    // No LocalScheme flag, so web pages gain no access to local files through it.
    QWebEngineUrlScheme scheme(kLinkScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void LinkSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

void InstallLinkSchemeHandler(QWebEngineProfile& profile) {
    if (!LinkSchemeRegistered() || profile.urlSchemeHandler(kLinkScheme))
        return;
    profile.installUrlSchemeHandler(kLinkScheme, new LinkSchemeHandler(&profile));
}

} // namespace quillory
