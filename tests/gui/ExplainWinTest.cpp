// The browser pane: own links reach the hook with their exact text and never
// load, ordinary links load, bodies and page names, the context menu, the key
// filter, script message boxes and new-window links.
#include "browser/ExplainWin.h"
#include "browser/KeyFilter.h"
#include "browser/LinkScheme.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <memory>
#include <optional>

using namespace quillory;

namespace {

constexpr int kLoadTimeoutMs = 60000;

} // namespace

class ExplainWinTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ownLinkClickReachesHookAndDoesNotNavigate();
    void ownLinkNavigationFromScriptIsRefused();
    void ordinaryLinkReachesHookAndLoads();
    void cancelledOrdinaryLinkKeepsPage();
    void bodyAndPageNames();
    void scriptCalls();
    void contextMenuGoesToHook();
    void keyFilterDecisions();
    void keyFilterOnFocusProxy();
    void scriptMessagesUseOwnCaption();
    void newWindowLinksGoToExternalBrowser();

private:
    // Evaluates script in the page and waits for its result.
    QVariant Evaluate(const QString& script);
    // Loads an embedded page with a body and a name and waits for it.
    void Load(const QString& resource, const QString& body, const QString& name);
    // Centre of the first element matching the selector, in view coordinates.
    QPoint ElementCentre(const QString& selector);

    CExplainWin* view_ = nullptr;
    QStringList addresses_;
    int completed_ = 0;
};

QVariant ExplainWinTest::Evaluate(const QString& script) {
    // Shared with the callback, which may still come after a timeout.
    auto answer = std::make_shared<std::optional<QVariant>>();
    view_->page()->runJavaScript(script, [answer](const QVariant& value) { *answer = value; });
    QDeadlineTimer deadline(kLoadTimeoutMs);
    while (!answer->has_value() && !deadline.hasExpired())
        QTest::qWait(10);
    if (!answer->has_value()) {
        qWarning("script did not answer: %s", qPrintable(script));
        return {};
    }
    return **answer;
}

void ExplainWinTest::Load(const QString& resource, const QString& body, const QString& name) {
    const int before = completed_;
    view_->Navigate(resource, body, name);
    QTRY_VERIFY_WITH_TIMEOUT(completed_ > before, kLoadTimeoutMs);
    // The bridge is connected once window.quillory exists.
    QTRY_VERIFY_WITH_TIMEOUT(Evaluate(QStringLiteral("!!window.quillory")).toBool(), kLoadTimeoutMs);
}

QPoint ExplainWinTest::ElementCentre(const QString& selector) {
    const QVariantList box =
        Evaluate(QStringLiteral("(function () { var r = document.querySelector('%1').getBoundingClientRect();"
                                " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                     .arg(selector))
            .toList();
    if (box.size() != 2)
        return {};
    return QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
}

void ExplainWinTest::init() {
    addresses_.clear();
    completed_ = 0;
    view_ = new CExplainWin;
    view_->resize(640, 480);
    view_->SetBeforeNavigateHook([this](const QString& address) {
        addresses_.append(address);
        return address.startsWith(QLatin1String("mmpp://")) || address.contains(QLatin1String("cancel-me"));
    });
    view_->SetDocumentCompleteHook([this] { ++completed_; });
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_));
}

void ExplainWinTest::cleanup() {
    delete view_;
    view_ = nullptr;
}

void ExplainWinTest::ownLinkClickReachesHookAndDoesNotNavigate() {
    Load(QStringLiteral("index.html"),
         QStringLiteral("<p><a id=own href=mmpp://0=4E2D>x</a><a id=next href=mmpp://0=4E00>y</a></p>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    Evaluate(QStringLiteral("window.stayMarker = 42;"));
    addresses_.clear();

    // Script click.
    Evaluate(QStringLiteral("document.querySelector('#own').click();"));
    QTRY_COMPARE_WITH_TIMEOUT(addresses_, QStringList{QStringLiteral("mmpp://0=4E2D")}, kLoadTimeoutMs);

    // Real mouse click through the widget that receives the page's input.
    const QPoint centre = ElementCentre(QStringLiteral("#own"));
    QVERIFY(!centre.isNull());
    QWidget* proxy = view_->focusProxy();
    QVERIFY(proxy);
    QTest::mouseMove(proxy, centre);
    QTest::mouseClick(proxy, Qt::LeftButton, {}, centre);
    QTRY_COMPARE_WITH_TIMEOUT(addresses_.size(), 2, kLoadTimeoutMs);
    QCOMPARE(addresses_.last(), QStringLiteral("mmpp://0=4E2D"));

    // A later link is the next thing the hook sees: each click reached it
    // once. Still the same document: the marker survived and the link is there.
    Evaluate(QStringLiteral("document.querySelector('#next').click();"));
    QTRY_COMPARE_WITH_TIMEOUT(addresses_.size(), 3, kLoadTimeoutMs);
    QCOMPARE(addresses_.last(), QStringLiteral("mmpp://0=4E00"));
    QCOMPARE(view_->url(), QUrl(QStringLiteral("qrc:/pages/index.html")));
    QCOMPARE(Evaluate(QStringLiteral("window.stayMarker")).toInt(), 42);
    QCOMPARE(Evaluate(QStringLiteral("document.querySelectorAll('#own').length")).toInt(), 1);
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QVERIFY(view_->HasDocument());
}

void ExplainWinTest::ownLinkNavigationFromScriptIsRefused() {
    QVERIFY(LinkSchemeRegistered());
    Load(QStringLiteral("index.html"), QStringLiteral("<p id=content>page</p>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    Evaluate(QStringLiteral("window.stayMarker = 7;"));
    QSignalSpy finished(view_->page(), &QWebEnginePage::loadFinished);
    Evaluate(QStringLiteral("window.location.href = 'mmpp://0=4E2D';"));

    // Requests for the scheme fail instead of reaching anything; the failed
    // request, made after the navigation, also marks when it has been dealt with.
    QCOMPARE(Evaluate(QStringLiteral("fetch('mmpp://0=4E2D').then(function () { window.fetched = 'ok'; },"
                                     " function () { window.fetched = 'failed'; }); 0"))
                 .toInt(),
             0);
    QTRY_COMPARE_WITH_TIMEOUT(Evaluate(QStringLiteral("window.fetched || ''")).toString(),
                              QStringLiteral("failed"), kLoadTimeoutMs);

    // A refused navigation ends with loadFinished(false) or with nothing at all.
    for (const QList<QVariant>& args : finished)
        QVERIFY(!args.value(0).toBool());
    QCOMPARE(Evaluate(QStringLiteral("window.stayMarker")).toInt(), 7);
    QVERIFY(view_->HasDocument());
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QVERIFY(view_->SetBody(QStringLiteral("<p>still here</p>")));
}

void ExplainWinTest::ordinaryLinkReachesHookAndLoads() {
    Load(QStringLiteral("index.html"), QStringLiteral("<p><a id=plain href=\"tech.html\">support</a></p>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    addresses_.clear();
    const int before = completed_;
    Evaluate(QStringLiteral("document.querySelector('#plain').click();"));
    QTRY_VERIFY_WITH_TIMEOUT(completed_ > before, kLoadTimeoutMs);
    QCOMPARE(addresses_, QStringList{QStringLiteral("qrc:/pages/tech.html")});
    QCOMPARE(view_->url(), QUrl(QStringLiteral("qrc:/pages/tech.html")));
    // A page loaded without a pending name has the page script's initial name.
    QCOMPARE(view_->PageName(), QStringLiteral("No Name"));
}

void ExplainWinTest::cancelledOrdinaryLinkKeepsPage() {
    const QString target = QStringLiteral("qrc:/pages/about.html?cancel-me");
    Load(QStringLiteral("index.html"),
         QStringLiteral("<p><a id=plain href=\"%1\">elsewhere</a><a id=own href=mmpp://0=4E00>y</a></p>")
             .arg(target),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    Evaluate(QStringLiteral("window.stayMarker = 3;"));
    addresses_.clear();
    Evaluate(QStringLiteral("document.querySelector('#plain').click();"));
    QTRY_COMPARE_WITH_TIMEOUT(addresses_, QStringList{target}, kLoadTimeoutMs);
    // A later click still reaches the hook from the same document.
    Evaluate(QStringLiteral("document.querySelector('#own').click();"));
    QTRY_COMPARE_WITH_TIMEOUT(addresses_, (QStringList{target, QStringLiteral("mmpp://0=4E00")}),
                              kLoadTimeoutMs);
    QCOMPARE(view_->url(), QUrl(QStringLiteral("qrc:/pages/index.html")));
    QCOMPARE(Evaluate(QStringLiteral("window.stayMarker")).toInt(), 3);
    QVERIFY(view_->HasDocument());
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));
}

void ExplainWinTest::bodyAndPageNames() {
    // Nothing shown yet: there is no body to replace and no page name.
    QVERIFY(!view_->SetBody(QStringLiteral("<p>early</p>")));
    QVERIFY(!view_->CallScript(QStringLiteral("ScrollToTop")));
    QCOMPARE(view_->PageName(), QString());

    // A fresh index page without a pending name.
    Load(QStringLiteral("index.html"), QString(), QString());
    QCOMPARE(view_->PageName(), QStringLiteral("No Name"));
    QCOMPARE(Evaluate(QStringLiteral("WhoAmI()")).toString(), QStringLiteral("No Name"));

    // Pending body appended after the page's own script; the name given to the script.
    Load(QStringLiteral("index.html"), QStringLiteral("<p id=first>\"first\" \\ &amp; \u4E2D</p>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QCOMPARE(Evaluate(QStringLiteral("WhoAmI()")).toString(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QCOMPARE(Evaluate(QStringLiteral("document.getElementById('first').textContent")).toString(),
             QStringLiteral("\"first\" \\ & \u4E2D"));
    QCOMPARE(Evaluate(QStringLiteral("document.body.querySelectorAll('script').length")).toInt(), 1);

    // A long page scrolled down, then replaced: new body, top of the page, same name.
    QString tall;
    for (int i = 0; i < 300; ++i)
        tall += QStringLiteral("<p>line %1</p>").arg(i);
    QVERIFY(view_->SetBody(tall));
    Evaluate(QStringLiteral("window.scrollTo(0, 2000); window.stayMarker = 5;"));
    QTRY_VERIFY_WITH_TIMEOUT(Evaluate(QStringLiteral("window.scrollY")).toInt() > 0, kLoadTimeoutMs);
    QVERIFY(view_->SetBody(QStringLiteral("<p id=second>second</p>")));
    QCOMPARE(Evaluate(QStringLiteral("document.body.innerHTML")).toString(),
             QStringLiteral("<p id=\"second\">second</p>"));
    QCOMPARE(Evaluate(QStringLiteral("window.scrollY")).toInt(), 0);
    QCOMPARE(Evaluate(QStringLiteral("window.stayMarker")).toInt(), 5);
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));

    // The support page.
    Load(QStringLiteral("tech.html"), QStringLiteral("<p id=support>support</p>"),
         QStringLiteral("OXA.LOCAL.TECH.HTML"));
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.TECH.HTML"));
    QCOMPARE(Evaluate(QStringLiteral("WhoAmI()")).toString(), QStringLiteral("OXA.LOCAL.TECH.HTML"));
    QCOMPARE(Evaluate(QStringLiteral("document.getElementById('support').textContent")).toString(),
             QStringLiteral("support"));
    // The falling images that the page put into its body are still there.
    QCOMPARE(Evaluate(QStringLiteral("document.querySelectorAll('img[id^=oxaFly]').length")).toInt(), 6);
}

void ExplainWinTest::scriptCalls() {
    Load(QStringLiteral("index.html"), QString(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));

    bool answered = false;
    bool ok = false;
    QVariant value;
    const auto record = [&](bool callOk, const QVariant& callValue) {
        answered = true;
        ok = callOk;
        value = callValue;
    };

    // Arguments arrive intact, quotes and line breaks included.
    const QString awkward = QStringLiteral("it's \"quoted\"\n\\ '); alert('x");
    QVERIFY(view_->CallScript(QStringLiteral("trim"),
                              {QStringLiteral("  ") + awkward + QStringLiteral(" \t")}, record));
    QTRY_VERIFY_WITH_TIMEOUT(answered, kLoadTimeoutMs);
    QVERIFY(ok);
    QCOMPARE(value.toString(), awkward);

    // A missing function reports failure through the callback.
    answered = false;
    QVERIFY(view_->CallScript(QStringLiteral("NoSuchFunction"), {}, record));
    QTRY_VERIFY_WITH_TIMEOUT(answered, kLoadTimeoutMs);
    QVERIFY(!ok);

    // A name that is no identifier is refused before anything runs.
    QVERIFY(!view_->CallScript(QStringLiteral("alert(1);WhoAmI"), {}, record));

    // SetWhoAmI through CallScript keeps the mirrored name in step.
    QVERIFY(view_->CallScript(QStringLiteral("SetWhoAmI"), {QStringLiteral("OXA.LOCAL.ABOUT.HTML")}));
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.ABOUT.HTML"));
    QCOMPARE(Evaluate(QStringLiteral("WhoAmI()")).toString(), QStringLiteral("OXA.LOCAL.ABOUT.HTML"));
}

void ExplainWinTest::contextMenuGoesToHook() {
    QList<QPoint> points;
    view_->SetContextMenuHook([&](const QPoint& globalPos) { points.append(globalPos); });
    Load(QStringLiteral("index.html"), QStringLiteral("<p style='height:400px'>text</p>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QWidget* proxy = view_->focusProxy();
    QVERIFY(proxy);
    const QPoint at(100, 120);
    QTest::mouseMove(proxy, at);
    QTest::mousePress(proxy, Qt::RightButton, {}, at);
    QTest::mouseRelease(proxy, Qt::RightButton, {}, at);
    QTRY_COMPARE_WITH_TIMEOUT(points.size(), 1, kLoadTimeoutMs);
    QCOMPARE(points.first(), view_->mapToGlobal(at));
    // No menu of the browser came up.
    QVERIFY(QApplication::activePopupWidget() == nullptr);
}

void ExplainWinTest::keyFilterDecisions() {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool swallowed;
    };
    const Case cases[] = {
        {Qt::Key_F5, Qt::NoModifier, true},      {Qt::Key_F1, Qt::NoModifier, true},
        {Qt::Key_F24, Qt::NoModifier, true},     {Qt::Key_N, Qt::ControlModifier, true},
        {Qt::Key_Escape, Qt::NoModifier, true},  {Qt::Key_Left, Qt::AltModifier, true},
        {Qt::Key_Control, Qt::NoModifier, true}, {Qt::Key_Alt, Qt::NoModifier, true},
        {Qt::Key_Help, Qt::NoModifier, true},    {Qt::Key_A, Qt::NoModifier, false},
        {Qt::Key_A, Qt::ShiftModifier, false},   {Qt::Key_Return, Qt::NoModifier, false},
        {Qt::Key_Down, Qt::NoModifier, false},   {Qt::Key_Space, Qt::KeypadModifier, false},
        {Qt::Key_F25, Qt::NoModifier, false},
    };
    for (const Case& c : cases) {
        QVERIFY2(KeyFilter::Swallows(c.key, c.modifiers) == c.swallowed,
                 qPrintable(QStringLiteral("key %1 modifiers %2").arg(c.key).arg(int(c.modifiers))));
    }
}

void ExplainWinTest::keyFilterOnFocusProxy() {
    Load(QStringLiteral("index.html"), QStringLiteral("<input id=box>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    Evaluate(
        QStringLiteral("window.keysSeen = [];"
                       "document.addEventListener('keydown', function (e) { window.keysSeen.push(e.key); },"
                       " true);"
                       "document.getElementById('box').focus();"));
    QWidget* proxy = view_->focusProxy();
    QVERIFY(proxy);
    view_->setFocus();
    const auto keysSeen = [this] { return Evaluate(QStringLiteral("window.keysSeen.join(',')")).toString(); };

    view_->SetKeyFilter(true);
    QVERIFY(view_->KeyFilterOn());
    QTest::keyClick(proxy, Qt::Key_F5);
    QTest::keyClick(proxy, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(proxy, Qt::Key_Escape);
    QTest::keyClick(proxy, Qt::Key_A);
    QTest::keyClick(proxy, Qt::Key_F1);
    QTest::keyClick(proxy, Qt::Key_B);
    // Only the plain keys reached the page; keys arrive in order, so one let
    // through would show before the last.
    QTRY_COMPARE_WITH_TIMEOUT(keysSeen(), QStringLiteral("a,b"), kLoadTimeoutMs);

    view_->SetKeyFilter(false);
    QTest::keyClick(proxy, Qt::Key_Escape);
    QTest::keyClick(proxy, Qt::Key_F5);
    QTRY_VERIFY_WITH_TIMEOUT(keysSeen().startsWith(QStringLiteral("a,b,Escape")), kLoadTimeoutMs);
}

void ExplainWinTest::scriptMessagesUseOwnCaption() {
    QList<ScriptMessage> shown;
    bool answer = false;
    view_->SetMessagePresenter([&](const ScriptMessage& message) {
        shown.append(message);
        return answer;
    });
    Load(QStringLiteral("index.html"), QString(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));

    Evaluate(QStringLiteral("alert('hello'); 0"));
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, kLoadTimeoutMs);
    QCOMPARE(shown[0].caption, QStringLiteral("CustomMessage"));
    QCOMPARE(shown[0].text, QStringLiteral("hello"));
    QCOMPARE(shown[0].icon, QMessageBox::Information);
    QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    // A confirm keeps its two buttons and returns the user's answer.
    answer = true;
    QCOMPARE(Evaluate(QStringLiteral("confirm('sure?')")).toBool(), true);
    answer = false;
    QCOMPARE(Evaluate(QStringLiteral("confirm('really?')")).toBool(), false);
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[1].caption, QStringLiteral("CustomMessage"));
    QCOMPARE(shown[1].icon, QMessageBox::Information);
    QCOMPARE(shown[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

void ExplainWinTest::newWindowLinksGoToExternalBrowser() {
    QList<QUrl> opened;
    view_->SetExternalOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    Load(QStringLiteral("index.html"),
         QStringLiteral("<p><a id=site href=\"https://www.example.org/\" target=_blank>site</a>"
                        "<a id=local href=\"tech.html\" target=_blank>local</a></p>"),
         QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    QWidget* proxy = view_->focusProxy();
    QVERIFY(proxy);

    // A local page asked for in a new window is not opened anywhere.
    QPoint centre = ElementCentre(QStringLiteral("#local"));
    QTest::mouseClick(proxy, Qt::LeftButton, {}, centre);
    centre = ElementCentre(QStringLiteral("#site"));
    QTest::mouseClick(proxy, Qt::LeftButton, {}, centre);
    QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, kLoadTimeoutMs);
    QCOMPARE(opened.first(), QUrl(QStringLiteral("https://www.example.org/")));
    QCOMPARE(view_->url(), QUrl(QStringLiteral("qrc:/pages/index.html")));
    QCOMPARE(view_->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"));
}

int main(int argc, char** argv) {
    // The scheme must be known before the application starts.
    RegisterLinkScheme();
    QApplication app(argc, argv);
    ExplainWinTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "ExplainWinTest.moc"
