// The browser pane: own links reach the hook with their exact text and never
// load, ordinary links load, bodies and page names, the context menu, the key
// filter, script message boxes and new-window links.
#include "browser/ExplainWin.h"
#include "browser/KeyFilter.h"
#include "browser/LinkScheme.h"
#include "tests/support/PageBody.h"
#include "tests/support/Waiting.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <memory>
#include <optional>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

constexpr int kLoadTimeoutMs = 60000;
const QString kIndexName = u"OXA.LOCAL.INDEX.HTML"_s;
using Keys = std::initializer_list<QKeyCombination>;

} // namespace

class ExplainWinTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CExplainWin> view_;
    QStringList addresses_;
    int completed_ = 0;

    // Evaluates script in the page and waits for its result.
    QVariant Evaluate(const QString& script) {
        // Shared with the callback, which may still come after a timeout.
        auto answer = std::make_shared<std::optional<QVariant>>();
        view_->page()->runJavaScript(script, [answer](const QVariant& value) { *answer = value; });
        if (testing::WaitFor([&] { return answer->has_value(); }, kLoadTimeoutMs))
            return **answer;
        qWarning("script did not answer: %s", qPrintable(script));
        return {};
    }

    // Loads an embedded page with a body and a name; false when it did not
    // complete or its bridge did not connect (once window.quillory exists).
    bool Load(const QString& body = {}, const QString& name = kIndexName,
              const QString& resource = "index.html") {
        const int before = completed_;
        view_->Navigate(resource, body, name);
        return testing::WaitFor([&] { return completed_ > before; }, kLoadTimeoutMs) &&
               testing::WaitFor([&] { return Evaluate("!!window.quillory").toBool(); }, kLoadTimeoutMs) &&
               view_->focusProxy() != nullptr;
    }

    // Clicks the centre of the first element matching the selector through
    // the widget that receives the page's input; false without the element.
    bool Click(const QString& selector) {
        const QVariantList box = Evaluate(u"(function () { var r = document.querySelector('%1')"
                                          ".getBoundingClientRect(); return [r.left + r.width / 2,"
                                          " r.top + r.height / 2]; })()"_s.arg(selector))
                                     .toList();
        if (box.size() != 2)
            return false;
        const QPoint centre(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
        QTest::mouseMove(view_->focusProxy(), centre);
        QTest::mouseClick(view_->focusProxy(), Qt::LeftButton, {}, centre);
        return true;
    }

    // The address, the page name and the marker a test left in the document;
    // " no document" at the end when the view has none.
    QString Where() {
        return view_->url().toString() + u' ' + view_->PageName() + u' ' +
               Evaluate("String(window.stayMarker)").toString() +
               (view_->hasDocument() ? "" : " no document");
    }

private slots:
    void init() {
        addresses_.clear();
        completed_ = 0;
        view_ = std::make_unique<CExplainWin>();
        view_->resize(640, 480);
        view_->SetBeforeNavigateHook([this](const QString& address) {
            addresses_.append(address);
            return address.startsWith("mmpp://") || address.contains("cancel-me");
        });
        view_->SetDocumentCompleteHook([this] { ++completed_; });
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }

    void cleanup() { view_.reset(); }

    void linksReachTheHook() {
        QList<QUrl> opened;
        view_->SetExternalOpener([&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        QVERIFY(Load("<p><a id=own href=mmpp://0=4E2D>x</a><a id=next href=mmpp://0=4E00>y</a>"
                     "<a id=cancel href=\"qrc:/pages/about.html?cancel-me\">elsewhere</a>"
                     "<a id=site href=\"https://www.example.org/\" target=_blank>site</a>"
                     "<a id=local href=\"tech.html\" target=_blank>local</a><a id=plain "
                     "href=\"tech.html\">s</a></p>"));
        Evaluate("window.stayMarker = 42;");
        addresses_.clear();
        // Own links and a cancelled ordinary link reach the hook and load
        // nothing: a script click, a real mouse click, then the others. Each
        // is the next thing the hook sees, so each click reached it once.
        Evaluate("document.querySelector('#own').click();");
        QTRY_COMPARE_WITH_TIMEOUT(addresses_, QStringList{"mmpp://0=4E2D"}, kLoadTimeoutMs);
        QVERIFY(Click("#own"));
        QTRY_COMPARE_WITH_TIMEOUT(addresses_.size(), 2, kLoadTimeoutMs);
        Evaluate("document.querySelector('#cancel').click();");
        QTRY_COMPARE_WITH_TIMEOUT(addresses_.size(), 3, kLoadTimeoutMs);
        Evaluate("document.querySelector('#next').click();");
        QTRY_COMPARE_WITH_TIMEOUT(addresses_.size(), 4, kLoadTimeoutMs);
        QCOMPARE(addresses_, QStringList({"mmpp://0=4E2D", "mmpp://0=4E2D", "qrc:/pages/about.html?cancel-me",
                                          "mmpp://0=4E00"}));
        // A new-window link goes to the external browser, unless it is a
        // local page, which is not opened anywhere.
        QVERIFY(Click("#local"));
        QVERIFY(Click("#site"));
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, kLoadTimeoutMs);
        QCOMPARE(opened.first(), QUrl("https://www.example.org/"));
        // Still the same document: the marker survived and the links are there.
        QCOMPARE(Where(), "qrc:/pages/index.html " + kIndexName + " 42");
        QCOMPARE(Evaluate("document.querySelectorAll('#own').length").toInt(), 1);
        // An ordinary link loads; without a pending name the page has the
        // page script's initial name.
        addresses_.clear();
        const int before = completed_;
        Evaluate("document.querySelector('#plain').click();");
        QTRY_VERIFY_WITH_TIMEOUT(completed_ > before, kLoadTimeoutMs);
        QCOMPARE(addresses_, QStringList{"qrc:/pages/tech.html"});
        QCOMPARE(Where(), "qrc:/pages/tech.html No Name undefined");
    }

    // A list of characters is plain text; a real click on a character opens
    // it as its link would, one outside the characters opens nothing, and the
    // character under the pointer is marked without changing the text.
    void charactersOfAListOpenLikeLinks() {
        const QString list = u"中\u00A0\U00020000\u00A0一\u00A0"_s;
        QVERIFY(Load(u"<span class=\"gb chars\">&#x4E2D;&nbsp;&#x20000;&nbsp;<br>&#x4E00;&nbsp;</span>"
                     "<p id=after>after</p>"_s));
        // The centre of each text's box, found before the pointer splits any text.
        std::vector<QPoint> points;
        for (const QString& text : {u"中"_s, u"\u00A0"_s, u"\U00020000"_s, u"一"_s}) {
            const std::optional<QPoint> centre = testing::TextCentre(view_->page(), ".chars", text);
            QVERIFY(centre);
            points.push_back(*centre);
        }
        const auto point = [&](int i) { return points[i]; };
        addresses_.clear();
        for (int i : {0, 1, 2, 3}) {
            QTest::mouseMove(view_->focusProxy(), point(i));
            QTest::mouseClick(view_->focusProxy(), Qt::LeftButton, {}, point(i));
        }
        QTRY_COMPARE_WITH_TIMEOUT(addresses_.size(), 3, kLoadTimeoutMs);
        QCOMPARE(addresses_, QStringList({"mmpp://0=4E2D", "mmpp://0=20000", "mmpp://0=4E00"}));
        QTest::mouseMove(view_->focusProxy(), point(2));
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate("document.querySelector('.chars .hover') ? "
                                           "document.querySelector('.chars .hover').textContent : ''")
                                      .toString(),
                                  u"\U00020000"_s, kLoadTimeoutMs);
        QVERIFY(Click("#after"));
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate("document.querySelectorAll('.hover').length").toInt(), 0,
                                  kLoadTimeoutMs);
        QCOMPARE(Evaluate("document.querySelector('.chars').textContent").toString(), list);
        QCOMPARE(addresses_.size(), 3);
    }

    void ownLinkNavigationFromScriptIsRefused() {
        QVERIFY(LinkSchemeRegistered());
        QVERIFY(Load("<p id=content>page</p>"));
        Evaluate("window.stayMarker = 7;");
        QSignalSpy finished(view_->page(), &QWebEnginePage::loadFinished);
        Evaluate("window.location.href = 'mmpp://0=4E2D';");
        // Requests for the scheme fail instead of reaching anything; the failed
        // request, made after the navigation, also marks when it has been dealt with.
        Evaluate("fetch('mmpp://0=4E2D').then(function () { window.fetched = 'ok'; },"
                 " function () { window.fetched = 'failed'; }); 0");
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate("window.fetched || ''").toString(), "failed", kLoadTimeoutMs);
        // A refused navigation ends with loadFinished(false) or with nothing at all.
        for (const QList<QVariant>& args : finished)
            QVERIFY(!args.value(0).toBool());
        QCOMPARE(Where(), "qrc:/pages/index.html " + kIndexName + " 7");
        QVERIFY(view_->SetBody("<p>still here</p>"));
    }

    void bodyAndPageNames() {
        // Nothing shown yet: there is no body to replace and no page name.
        QVERIFY(!view_->SetBody("<p>early</p>"));
        QVERIFY(!view_->CallScript("ScrollToTop"));
        QCOMPARE(view_->PageName(), QString());
        // A fresh index page without a pending name.
        QVERIFY(Load({}, {}));
        QCOMPARE(view_->PageName(), "No Name");
        QCOMPARE(Evaluate("WhoAmI()").toString(), "No Name");
        // Pending body appended after the page's own script; the name given to the script.
        QVERIFY(Load(u"<p id=first>\"first\" \\ &amp; \u4E2D</p>"_s));
        QCOMPARE(view_->PageName(), kIndexName);
        QCOMPARE(Evaluate("WhoAmI()").toString(), kIndexName);
        QCOMPARE(Evaluate("document.getElementById('first').textContent").toString(),
                 u"\"first\" \\ & \u4E2D"_s);
        QCOMPARE(Evaluate("document.body.querySelectorAll('script').length").toInt(), 1);
        // A long page scrolled down, then replaced: new body, top of the page, same name.
        QString tall;
        for (int i = 0; i < 300; ++i)
            tall += u"<p>line %1</p>"_s.arg(i);
        QVERIFY(view_->SetBody(tall));
        Evaluate("window.scrollTo(0, 2000); window.stayMarker = 5;");
        QTRY_VERIFY_WITH_TIMEOUT(Evaluate("window.scrollY").toInt() > 0, kLoadTimeoutMs);
        QVERIFY(view_->SetBody("<p id=second>second</p>"));
        QCOMPARE(Evaluate("document.body.innerHTML").toString(), "<p id=\"second\">second</p>");
        QCOMPARE(Evaluate("window.scrollY").toInt(), 0);
        QCOMPARE(Where(), "qrc:/pages/index.html " + kIndexName + " 5");
        // The support page.
        QVERIFY(Load("<p id=support>support</p>", "OXA.LOCAL.TECH.HTML", "tech.html"));
        QCOMPARE(view_->PageName(), "OXA.LOCAL.TECH.HTML");
        QCOMPARE(Evaluate("WhoAmI()").toString(), "OXA.LOCAL.TECH.HTML");
        QCOMPARE(Evaluate("document.getElementById('support').textContent").toString(), "support");
        // The falling images that the page put into its body are still there.
        QCOMPARE(Evaluate("document.querySelectorAll('img[id^=oxaFly]').length").toInt(), 6);
    }

    void scriptCallsAndMessages() {
        QList<ScriptMessage> shown;
        bool answer = false;
        view_->SetMessagePresenter([&](const ScriptMessage& message) {
            shown.append(message);
            return answer;
        });
        QVERIFY(Load());
        std::optional<std::pair<bool, QVariant>> result;
        const auto record = [&](bool ok, const QVariant& value) { result = {ok, value}; };
        // Arguments arrive intact, quotes and line breaks included.
        const QString awkward = "it's \"quoted\"\n\\ '); alert('x";
        QVERIFY(view_->CallScript("trim", {"  " + awkward + " \t"}, record));
        QTRY_VERIFY_WITH_TIMEOUT(result, kLoadTimeoutMs);
        QCOMPARE(*result, std::pair(true, QVariant(awkward)));
        // A missing function reports failure through the callback.
        result.reset();
        QVERIFY(view_->CallScript("NoSuchFunction", {}, record));
        QTRY_VERIFY_WITH_TIMEOUT(result, kLoadTimeoutMs);
        QVERIFY(!result->first);
        // A name that is no identifier is refused before anything runs.
        QVERIFY(!view_->CallScript("alert(1);WhoAmI", {}, record));
        // SetWhoAmI through CallScript keeps the mirrored name in step.
        QVERIFY(view_->CallScript("SetWhoAmI", {"OXA.LOCAL.ABOUT.HTML"}));
        QCOMPARE(view_->PageName(), "OXA.LOCAL.ABOUT.HTML");
        QCOMPARE(Evaluate("WhoAmI()").toString(), "OXA.LOCAL.ABOUT.HTML");
        // Message boxes of the page's script have the program's own caption.
        Evaluate("alert('hello'); 0");
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, kLoadTimeoutMs);
        QCOMPARE(std::tuple(shown[0].caption, shown[0].text, shown[0].icon, shown[0].buttons),
                 std::tuple(u"CustomMessage"_s, u"hello"_s, QMessageBox::Information, QMessageBox::Ok));
        // A confirm keeps its two buttons and returns the user's answer.
        answer = true;
        QCOMPARE(Evaluate("confirm('sure?')").toBool(), true);
        answer = false;
        QCOMPARE(Evaluate("confirm('really?')").toBool(), false);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(
            std::tuple(shown[1].caption, shown[1].icon, shown[1].buttons),
            std::tuple(u"CustomMessage"_s, QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel));
    }

    void keyFilterDecisions() {
        for (const QKeyCombination key :
             Keys{Qt::Key_F5, Qt::Key_F1, Qt::Key_F24, Qt::ControlModifier | Qt::Key_N, Qt::Key_Escape,
                  Qt::AltModifier | Qt::Key_Left, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Help})
            QVERIFY2(KeyFilter::Swallows(key.key(), key.keyboardModifiers()),
                     qPrintable(QKeySequence(key).toString()));
        for (const QKeyCombination key : Keys{Qt::Key_A, Qt::ShiftModifier | Qt::Key_A, Qt::Key_Return,
                                              Qt::Key_Down, Qt::KeypadModifier | Qt::Key_Space, Qt::Key_F25})
            QVERIFY2(!KeyFilter::Swallows(key.key(), key.keyboardModifiers()),
                     qPrintable(QKeySequence(key).toString()));
    }

    void inputThroughTheFocusProxy() {
        QList<QPoint> points;
        view_->SetContextMenuHook([&](const QPoint& globalPos) { points.append(globalPos); });
        QVERIFY(Load("<input id=box><p style='height:400px'>text</p>"));
        QWidget* proxy = view_->focusProxy();
        // The context menu goes to the hook; no menu of the browser comes up.
        const QPoint at(100, 120);
        QTest::mouseMove(proxy, at);
        QTest::mousePress(proxy, Qt::RightButton, {}, at);
        QTest::mouseRelease(proxy, Qt::RightButton, {}, at);
        QTRY_COMPARE_WITH_TIMEOUT(points, QList<QPoint>{view_->mapToGlobal(at)}, kLoadTimeoutMs);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        // The key filter keeps the browser's own keys from the page.
        Evaluate("window.keysSeen = [];"
                 "document.addEventListener('keydown', function (e) { window.keysSeen.push(e.key); }, true);"
                 "document.getElementById('box').focus();");
        view_->setFocus();
        const auto keysSeen = [this] { return Evaluate("window.keysSeen.join(',')").toString(); };
        view_->SetKeyFilter(true);
        QVERIFY(view_->keyFilterOn());
        for (const QKeyCombination key : Keys{Qt::Key_F5, Qt::ControlModifier | Qt::Key_N, Qt::Key_Escape,
                                              Qt::Key_A, Qt::Key_F1, Qt::Key_B})
            QTest::keyClick(proxy, key.key(), key.keyboardModifiers());
        // Only the plain keys reached the page; keys arrive in order, so one let
        // through would show before the last.
        QTRY_COMPARE_WITH_TIMEOUT(keysSeen(), "a,b", kLoadTimeoutMs);
        view_->SetKeyFilter(false);
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_F5})
            QTest::keyClick(proxy, key);
        QTRY_VERIFY_WITH_TIMEOUT(keysSeen().startsWith("a,b,Escape"), kLoadTimeoutMs);
    }
};

int main(int argc, char** argv) {
    // The scheme must be known before the application starts.
    RegisterLinkScheme();
    QApplication app(argc, argv);
    ExplainWinTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "ExplainWinTest.moc"
