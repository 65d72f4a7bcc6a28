// The suggestions under the search box, from a source the test answers by hand: typing asks,
// the latest answer shows, arrows select, Enter searches for the selected word, Esc closes.
#include "controls/SuggestionList.h"
#include "controls/SearchComboBox.h"
#include "pages/protocol/SearchActions.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

// Notes every request; the test answers them.
class FakeSource final : public SuggestionSource {
public:
    QList<std::pair<quint64, QString>> requests;
    void RequestSuggestions(quint64 sequence, const QString& text) override {
        requests.append({sequence, text});
    }
    void Answer(int request, const QList<Suggestion>& suggestions) {
        emit suggested(requests.at(request).first, suggestions);
    }
};

const QList<Suggestion> kZhong = {
    {u"中"_s, u"zhong1"_s, u"middle"_s},
    {u"中文"_s, u"zhong1 wen2"_s, u"Chinese language"_s},
    {u"中国"_s, u"zhong1 guo2"_s, u"China"_s},
};

} // namespace

class SuggestionListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> window_;
    SearchComboBox* box_ = nullptr;
    FakeSource* source_ = nullptr;
    SearchState state_;
    RecordingReporter reporter_;
    QList<ProtocolRequest> posted_;

    SuggestionList* list() const { return box_->suggestionList(); }
    QString lastText() const {
        return source_->requests.isEmpty() ? QString() : source_->requests.last().second;
    }
    // The words of the rows, and the selected row's word or "-".
    QString shown() const {
        QStringList words;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            words.append(list()->wordAt(row));
        return words.join(u' ') + u" | "_s + list()->selectedWord().value_or(u"-"_s);
    }

private slots:
    void init() {
        window_ = std::make_unique<QWidget>();
        window_->resize(400, 300);
        box_ = new SearchComboBox(window_.get());
        box_->setGeometry(10, 10, 200, 28);
        source_ = new FakeSource;
        source_->setParent(box_);
        box_->setSuggestionSource(source_);
        posted_.clear();
        box_->setRequestPoster([this](const ProtocolRequest& request) { posted_.append(request); });
        connect(box_, &SearchComboBox::searchRequested, this,
                [this] { RunSearch(*box_, state_, reporter_); });
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        box_->setFocus();
        QTRY_VERIFY(box_->hasFocus());
    }

    void typingAsksForTwoLettersOrAnIdeograph() {
        QTest::keyClicks(box_, u"z"_s);
        QVERIFY(source_->requests.isEmpty());
        QTest::keyClicks(box_, u"h"_s);
        QCOMPARE(lastText(), u"zh"_s);
        box_->lineEdit()->clear();
        // A character from an input method: a key event with text and no key code.
        QTest::sendKeyEvent(QTest::Press, box_, Qt::Key_unknown, u"中"_s, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box_, Qt::Key_unknown, u"中"_s, Qt::NoModifier);
        QCOMPARE(lastText(), u"中"_s);
    }

    void onlyTheLatestAnswerShowsAndArrowsSelect() {
        QTest::keyClicks(box_, u"zho"_s);
        QCOMPARE(source_->requests.size(), 2); // "zh", "zho"
        source_->Answer(0, {{u"这"_s, u"zhe4"_s, u"this"_s}});
        QVERIFY(!list()->isVisible()); // the answer to "zh" came too late
        source_->Answer(1, kZhong);
        QVERIFY(list()->isVisible());
        QVERIFY(box_->hasFocus()); // the list never takes the keyboard
        QCOMPARE(shown(), u"中 中文 中国 | -"_s);
        // Pinyin shows its tone marks, Jyutping its digits.
        QCOMPARE(list()->topLevelItem(1)->text(1), u"zhōng wén"_s);
        QCOMPARE(list()->topLevelItem(1)->text(2), u"Chinese language"_s);
        QTest::keyClick(box_, Qt::Key_Down);
        QCOMPARE(shown(), u"中 中文 中国 | 中"_s);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(box_, Qt::Key_Down);
        QCOMPARE(shown(), u"中 中文 中国 | 中国"_s); // stops at the last row
        QTest::keyClick(box_, Qt::Key_Up);
        QCOMPARE(shown(), u"中 中文 中国 | 中文"_s);
        QCOMPARE(box_->currentText(), u"zho"_s); // moving never changes the typed text
        // An empty answer closes the list.
        QTest::keyClicks(box_, u"n"_s);
        source_->Answer(2, {});
        QVERIFY(!list()->isVisible());
        QTest::keyClicks(box_, u"g"_s);
        source_->Answer(3, {{u"你好"_s, u"nei5 hou2"_s, u"hello"_s, ReadingSystem::Jyutping}});
        QCOMPARE(list()->topLevelItem(0)->text(1), u"nei5 hou2"_s);
    }

    void enterSearchesForTheSelectedWord() {
        QTest::keyClicks(box_, u"zhong"_s);
        source_->Answer(int(source_->requests.size()) - 1, kZhong);
        QTest::keyClick(box_, Qt::Key_Down);
        QTest::keyClick(box_, Qt::Key_Down);
        QTest::keyClick(box_, Qt::Key_Return);
        QVERIFY(!list()->isVisible());
        QCOMPARE(box_->currentText(), u"中文"_s);
        QTRY_COMPARE(posted_.size(), 1);
        QCOMPARE(posted_.at(0), (ProtocolRequest{kShowWord, 0, u"中文"_s}));
        // The answer to the text before the choice never opens the list again.
        source_->Answer(int(source_->requests.size()) - 1, kZhong);
        QVERIFY(!list()->isVisible());
        // Without a selected row, Enter searches for the typed text.
        box_->lineEdit()->clear();
        QTest::keyClicks(box_, u"zhong"_s);
        source_->Answer(int(source_->requests.size()) - 1, kZhong);
        QTest::keyClick(box_, Qt::Key_Return);
        QTRY_COMPARE(posted_.size(), 2);
        QCOMPARE(posted_.at(1), (ProtocolRequest{kShowEnglish, 0, u"zhong"_s}));
    }

    void escClosesAndAClickChooses() {
        QTest::keyClicks(box_, u"zhong"_s);
        source_->Answer(int(source_->requests.size()) - 1, kZhong);
        QTest::keyClick(box_, Qt::Key_Escape);
        QVERIFY(!list()->isVisible());
        QCOMPARE(box_->currentText(), u"zhong"_s);
        // Without the list, Down is the history's again, and nothing is posted.
        QTest::keyClick(box_, Qt::Key_Down);
        QVERIFY(posted_.isEmpty());
        // The history's list closes the suggestions.
        QTest::keyClicks(box_, u"g"_s);
        source_->Answer(int(source_->requests.size()) - 1, kZhong);
        QVERIFY(list()->isVisible());
        box_->showPopup();
        QVERIFY(!list()->isVisible());
        box_->hidePopup();
        QTest::keyClicks(box_, u"g"_s);
        source_->Answer(int(source_->requests.size()) - 1, kZhong);
        QVERIFY(list()->isVisible());
        const QRect row = list()->visualItemRect(list()->topLevelItem(2));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(!list()->isVisible());
        QTRY_COMPARE(posted_.size(), 1);
        QCOMPARE(posted_.at(0), (ProtocolRequest{kShowWord, 0, u"中国"_s}));
    }

    void cleanup() { window_.reset(); }
};

QTEST_MAIN(SuggestionListTest)
#include "SuggestionListTest.moc"
