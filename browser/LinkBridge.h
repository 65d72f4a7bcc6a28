#pragma once
// Hands clicks on the program's own links from page script to C++. The page
// script (oxa.js) stops the click and passes the href exactly as written to
// window.quillory.openLink; this object is that window.quillory, published
// through a web channel, and the scripts that connect it are injected into
// every document of the page.
#include <QObject>
#include <QString>
#include <functional>

class QWebEnginePage;

namespace quillory {

class LinkBridge final : public QObject {
    Q_OBJECT
public:
    using LinkHandler = std::function<void(const QString& href)>;

    explicit LinkBridge(QObject* parent = nullptr) : QObject(parent) {}

    void SetHandler(LinkHandler handler) { handler_ = std::move(handler); }

public slots:
    // Called by page script with the raw href of a clicked link.
    void openLink(const QString& href);

private:
    LinkHandler handler_;
};

// The name under which the bridge is published to page script.
inline constexpr char kLinkBridgeObjectName[] = "quillory";

// Publishes the bridge on the page's web channel and injects the channel
// client and the glue that sets window.quillory and hands over any links
// clicked before the channel was ready (window.pendingLinks).
void InstallLinkBridge(QWebEnginePage& page, LinkBridge& bridge);

} // namespace quillory
