#pragma once
// The "mmpp" scheme of the program's own links. Registered with the web engine
// so that such addresses are parsed as paths and never reach the network; every
// request for one fails, because links are taken over before they load.
#include "pages/protocol/LinkCommands.h"

#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

namespace quillory {

// Registers the scheme. Must run before the QApplication is created; later
// calls and repeated calls change nothing.
void RegisterLinkScheme();

// True when RegisterLinkScheme ran before the application started.
bool LinkSchemeRegistered();

// Answers every request with a failure.
class LinkSchemeHandler final : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

// Installs a LinkSchemeHandler on the profile unless it has one already or
// the scheme was not registered.
void InstallLinkSchemeHandler(QWebEngineProfile& profile);

} // namespace quillory
