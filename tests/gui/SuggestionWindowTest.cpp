// Romanised searches and suggestions in the real main window on the full data: the word a learner
// typed leads its reading section, and a suggestion chosen with the arrows and Enter shows its page.
#include "app/window/MainWindow.h"
#include "browser/ExplainWin.h"
#include "controls/FlatButton.h"
#include "controls/SearchComboBox.h"
#include "controls/SuggestionList.h"
#include "tests/support/PageBody.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/TestFiles.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPageTimeoutMs = 20000;

// A character's link as the page's HTML reads back: attributes quoted, the character itself.
QString CharLink(char32_t code) {
    return u"<a href=\"mmpp://0=%1\"><span class=\"gb\">%2</span></a>"_s.arg(
        QString::number(code, 16).toUpper(), QString::fromUcs4(&code, 1));
}

} // namespace

class SuggestionWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dataCopy_;
    testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    std::unique_ptr<MainWindow> window_;

    QString entry(int index) const { return window_->searchState().history.entry(index).text; }
    QString body() const { return testing::PageBodyHtml(window_->view()->page()); }
    // The value cell of the first table row labelled so.
    QString cell(const QString& label) const {
        const QRegularExpression row(QRegularExpression::escape(label) + u"</span></td><td>(.*?)</td>"_s);
        return row.match(body()).captured(1);
    }
    void waitForHistoryTitle(const QString& title) {
        QCoreApplication::sendPostedEvents();
        QTRY_COMPARE_WITH_TIMEOUT(entry(0), title, kPageTimeoutMs);
    }

private slots:
    void initTestCase() {
        QVERIFY(testing::LinkDataFolder(QStringLiteral(QUILLORY_DATA_DIR), dataCopy_.path()));
        window_ = std::make_unique<MainWindow>(MainWindowEnvironment{
            dataCopy_.path(), &settings_.store(), [](const QUrl&) { return true; }, &reporter_});
        QVERIFY(window_->Initialise());
        window_->ShowYourself();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), u"OXA.LOCAL.INDEX.HTML"_s, kPageTimeoutMs);
    }

    void romanisedQueriesShowTheirWordFirst_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("first");
        QTest::newRow("toneless Pinyin")
            << u"zhongwen"_s << u"Pinyin"_s << CharLink(0x4E2D) + CharLink(0x6587);
        QTest::newRow("tone digits") << u"ni3hao3"_s << u"Pinyin"_s << CharLink(0x4F60) + CharLink(0x597D);
        QTest::newRow("tone marks and ü") << u"lǚyóu"_s << u"Pinyin"_s << CharLink(0x65C5) + CharLink(0x6E38);
        QTest::newRow("Jyutping") << u"nei5 hou2"_s << u"Jyutping"_s << CharLink(0x4F60) + CharLink(0x597D);
    }

    void romanisedQueriesShowTheirWordFirst() {
        QFETCH(QString, query);
        QFETCH(QString, label);
        QFETCH(QString, first);
        window_->searchBox()->setEditText(query);
        window_->button(kButtonGo)->click();
        waitForHistoryTitle(query);
        QTRY_VERIFY2_WITH_TIMEOUT(cell(label).startsWith(first), qPrintable(cell(label)), kPageTimeoutMs);
    }

    void englishOnlyQueryKeepsTheEnglishTableAlone() {
        window_->searchBox()->setEditText(u"water"_s);
        window_->button(kButtonGo)->click();
        waitForHistoryTitle(u"water"_s);
        QTRY_VERIFY_WITH_TIMEOUT(body().contains(u"water</td>"_s), kPageTimeoutMs);
        const QString page = body();
        QVERIFY(!page.contains(u"Pinyin</span></td>"_s));
        QVERIFY(!page.contains(u"Jyutping</span></td>"_s));
        QCOMPARE(page.count(u"<table"_s), 1);
    }

    void chosenSuggestionShowsItsPage() {
        SearchComboBox* box = window_->searchBox();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->lineEdit()->clear();
        QTest::keyClicks(box, u"zhongwen"_s);
        SuggestionList* list = box->suggestionList();
        QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), kPageTimeoutMs);
        int row = 0;
        while (row < list->topLevelItemCount() && list->wordAt(row) != u"中文"_s)
            ++row;
        QVERIFY2(row < list->topLevelItemCount(), "中文 is suggested");
        for (int i = 0; i <= row; ++i)
            QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(list->selectedWord().value_or(QString()), u"中文"_s);
        QTest::keyClick(box, Qt::Key_Return);
        waitForHistoryTitle(u"中文"_s);
        QCOMPARE(window_->searchState().history.entry(0).command, 6u);
        QTRY_VERIFY_WITH_TIMEOUT(body().contains(u"4E2D&nbsp;6587&nbsp;"_s), kPageTimeoutMs);
    }

    void cleanupTestCase() { window_.reset(); }
};

QTEST_MAIN(SuggestionWindowTest)
#include "SuggestionWindowTest.moc"
