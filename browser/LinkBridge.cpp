#include "browser/LinkBridge.h"

#include <QFile>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace quillory {
namespace {

constexpr char kChannelClientResource[] = ":/qtwebchannel/qwebchannel.js";

// Runs after the channel client in the page's own script world, where oxa.js
// looks for window.quillory.
constexpr char kGlueScript[] = R"JS(
(function () {
  if (typeof QWebChannel !== "function" || typeof qt === "undefined" || !qt.webChannelTransport) {
    return;
  }
  new QWebChannel(qt.webChannelTransport, function (channel) {
    window.quillory = channel.objects.quillory;
    var queued = Array.isArray(window.pendingLinks) ? window.pendingLinks.splice(0) : [];
    for (var i = 0; i < queued.length; ++i) {
      window.quillory.openLink(queued[i]);
    }
  });
})();
)JS";

QString ReadChannelClient() {
    QFile file(QString::fromLatin1(kChannelClientResource));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QWebEngineScript MakeScript(const QString& name, const QString& source) {
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

} // namespace

void LinkBridge::openLink(const QString& href) {
    if (handler_)
        handler_(href);
}

void InstallLinkBridge(QWebEnginePage& page, LinkBridge& bridge) {
    auto* channel = new QWebChannel(&page);
    channel->registerObject(QString::fromLatin1(kLinkBridgeObjectName), &bridge);
    page.setWebChannel(channel, QWebEngineScript::MainWorld);

    QWebEngineScriptCollection& scripts = page.scripts();
    // Both are injected as one script so that the glue always finds the client.
    scripts.insert(MakeScript(QStringLiteral("quillory-link-bridge"),
                              ReadChannelClient() + QString::fromLatin1(kGlueScript)));
}

} // namespace quillory
