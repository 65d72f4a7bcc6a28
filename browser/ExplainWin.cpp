#include "browser/ExplainWin.h"

#include "browser/ExplainPage.h"
#include "browser/KeyFilter.h"
#include "browser/LinkBridge.h"
#include "browser/LinkScheme.h"
#include "pages/builders/PageResources.h"

#include <QContextMenuEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QVariantMap>
#include <QWebEngineProfile>

namespace quillory {
namespace {

// The name every page of the program starts with (oxa.js).
constexpr char kDefaultPageName[] = "No Name";
constexpr char kSetWhoAmI[] = "SetWhoAmI";

bool IsProgramPage(const QUrl& url) {
    return url.scheme() == QLatin1String("qrc") && url.path().startsWith(QLatin1String("/pages/"));
}

bool IsScriptIdentifier(const QString& name) {
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_$][A-Za-z0-9_$]*$"));
    return identifier.match(name).hasMatch();
}

// The text as a JavaScript string literal.
QString ScriptString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString ScriptArray(const QStringList& texts) {
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(texts)).toJson(QJsonDocument::Compact));
}

} // namespace

CExplainWin::CExplainWin(QWidget* parent) : QWebEngineView(parent), keyFilter_(new KeyFilter(this)) {
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    InstallLinkSchemeHandler(*profile);
    page_ = new ExplainPage(profile, this);
    page_->SetNavigationHook(
        [this](const QString& address) { return beforeNavigate_ ? beforeNavigate_(address) : false; });
    page_->SetNavigationAccepted([this](const QUrl& url) { OnNavigationAccepted(url); });
    bridge_ = new LinkBridge(this);
    bridge_->SetHandler([this](const QString& href) { OnLinkClicked(href); });
    InstallLinkBridge(*page_, *bridge_);
    setPage(page_);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(page_, &QWebEnginePage::loadFinished, this, &CExplainWin::OnLoadFinished);
    connect(page_, &QWebEnginePage::loadStarted, this, &CExplainWin::AttachKeyFilter);
    AttachKeyFilter();
}

CExplainWin::~CExplainWin() = default;

void CExplainWin::SetExternalOpener(ExternalOpener opener) {
    page_->SetExternalOpener(std::move(opener));
}

void CExplainWin::SetMessagePresenter(ScriptMessagePresenter presenter) {
    page_->SetMessagePresenter(std::move(presenter));
}

void CExplainWin::Navigate(const QString& resourceName, const QString& pendingBody,
                           const QString& pendingName) {
    pendingBody_ = pendingBody;
    pendingName_ = pendingName;
    NavigateTo(QUrl(PageResourceUrl(resourceName)));
}

void CExplainWin::NavigateTo(const QUrl& url) {
    page_->load(url);
}

void CExplainWin::OnNavigationAccepted(const QUrl&) {
    hasDocument_ = false;
    pageName_.clear();
}

void CExplainWin::OnLoadFinished(bool ok) {
    AttachKeyFilter();
    // A cancelled navigation ends with ok == false too; the shown document stays.
    if (!ok)
        return;
    hasDocument_ = true;
    pageName_ = IsProgramPage(page_->url()) ? QString::fromLatin1(kDefaultPageName) : QString();
    if (!pendingBody_.isEmpty()) {
        // Appended as new nodes: elements already in the body (and script
        // references to them) stay as they are.
        RunThenAwaitPaint(
            QStringLiteral("if (document.body) document.body.insertAdjacentHTML('beforeend', ") +
            ScriptString(pendingBody_) + QStringLiteral(");"));
        pendingBody_.clear();
    } else {
        RunThenAwaitPaint(QStringLiteral("0"));
    }
    if (!pendingName_.isEmpty()) {
        CallScript(QString::fromLatin1(kSetWhoAmI), {pendingName_});
        pendingName_.clear();
    }
    if (documentComplete_)
        documentComplete_();
}

void CExplainWin::OnLinkClicked(const QString& href) {
    // The click was already stopped in the page, so the cancel flag has
    // nothing left to cancel.
    if (beforeNavigate_)
        beforeNavigate_(href);
}

bool CExplainWin::SetBody(const QString& html) {
    if (!hasDocument_)
        return false;
    RunThenAwaitPaint(
        QStringLiteral("(function (html) {"
                       "  if (!document.body) return false;"
                       "  document.body.innerHTML = html;"
                       "  if (typeof ScrollToTop === 'function') ScrollToTop(); else window.scrollTo(0, 0);"
                       "  return true;"
                       "})(") +
        ScriptString(html) + QStringLiteral(");"));
    return true;
}

QString CExplainWin::PageName() const {
    return pageName_;
}

void CExplainWin::SetKeyFilter(bool on) {
    keyFilter_->SetEnabled(on);
    AttachKeyFilter();
}

bool CExplainWin::keyFilterOn() const {
    return keyFilter_->enabled();
}

bool CExplainWin::CallScript(const QString& function, const QStringList& args, ScriptResult onResult) {
    if (!hasDocument_ || !IsScriptIdentifier(function))
        return false;
    if (function == QLatin1String(kSetWhoAmI))
        pageName_ = args.value(0);
    const QString script = QStringLiteral("(function (args) {"
                                          "  try {"
                                          "    if (typeof %1 !== 'function') return {ok: false};"
                                          "    return {ok: true, value: %1.apply(window, args)};"
                                          "  } catch (e) {"
                                          "    return {ok: false};"
                                          "  }"
                                          "})(%2);")
                               .arg(function, ScriptArray(args));
    if (!onResult) {
        page_->runJavaScript(script);
        return true;
    }
    page_->runJavaScript(script, [onResult](const QVariant& result) {
        const QVariantMap answer = result.toMap();
        onResult(answer.value(QStringLiteral("ok")).toBool(), answer.value(QStringLiteral("value")));
    });
    return true;
}

void CExplainWin::contextMenuEvent(QContextMenuEvent* event) {
    // The browser's own menu is never shown.
    event->accept();
    if (contextMenu_)
        contextMenu_(event->globalPos());
}

bool CExplainWin::event(QEvent* event) {
    // The widget that receives the page's key events is created and replaced
    // by the engine as child of the view.
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished)
        AttachKeyFilter();
    return QWebEngineView::event(event);
}

void CExplainWin::AttachKeyFilter() {
    // Installing again moves the filter to the front; it is never doubled.
    // The paint watch goes first so that the key filter stays in front.
    QWidget* proxy = focusProxy();
    if (proxy && keyFilter_) {
        proxy->installEventFilter(this);
        proxy->installEventFilter(keyFilter_);
    }
}

void CExplainWin::RunThenAwaitPaint(const QString& script) {
    // The callback comes once the page has run the script, so the next
    // frame the view paints shows its result.
    page_->runJavaScript(script, [this](const QVariant&) { paintPending_ = true; });
}

bool CExplainWin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && paintPending_ && watched == focusProxy()) {
        paintPending_ = false;
        emit pagePainted();
    }
    return QWebEngineView::eventFilter(watched, event);
}

} // namespace quillory
