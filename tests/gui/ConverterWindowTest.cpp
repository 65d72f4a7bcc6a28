// The Converter window headless: start state, kinds with their arrows,
// title and fonts, conversions through the arrows, Clear, Copy, Save, Hide.
#include "tools/converter/ConverterWindow.h"
#include "dictionary/Dictionary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace quillory;
using enum TextKind;
using enum ConverterBox;

class ConverterWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ConverterWindow> window_;
    RecordingReporter reporter_;
    QString savePath_;

    // Clicks the kind's radio button of a box, as the user does.
    void Choose(ConverterBox box, TextKind kind) {
        QTest::mouseClick(window_->kindButton(box, kind), Qt::LeftButton, {}, QPoint(5, 5));
    }

    // Clicks an arrow and waits for the result to land in its box.
    void ClickArrow(ControlId arrow) {
        QSignalSpy finished(window_.get(), &ConverterWindow::conversionFinished);
        QTest::mouseClick(window_->button(arrow), Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(60000));
    }

    QString Text(ConverterBox box) const { return window_->textBox(box)->toPlainText(); }

private slots:
    void init() {
        ConverterEnvironment environment;
        environment.recordStorePath =
            QDir(QStringLiteral(QUILLORY_DATA_DIR)).filePath(Dictionary::recordStoreName());
        environment.labels = [](std::uint32_t id) -> std::optional<LabelText> {
            if (id == kButtonCopy1) {
                return LabelText{QStringLiteral("复制"), QFont(QStringLiteral("Serif"))};
            }
            return std::nullopt;
        };
        environment.fonts = [](FontSlot slot) {
            QFont font;
            font.setFamily(QStringLiteral("slot%1").arg(IndexOf(slot)));
            return font;
        };
        environment.reporter = &reporter_;
        environment.saveFile = [this](TextKind) { return savePath_; };
        window_ = std::make_unique<ConverterWindow>(std::move(environment));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void startStateAndLabels() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Tessaravin - Quillory - Converter - GB <-> HTML"));
        QVERIFY(window_->kindButton(Upper, GB)->isChecked());
        QVERIFY(window_->kindButton(Lower, Html)->isChecked());
        QCOMPARE(window_->textBox(Upper)->font().family(), QStringLiteral("slot2"));
        QCOMPARE(window_->textBox(Lower)->font().family(), QStringLiteral("slot0"));
        QCOMPARE(window_->button(kButtonCopy1)->text(), QStringLiteral("复制"));
        QCOMPARE(window_->button(kButtonCopy2)->text(), QStringLiteral("Copy")); // no text: the template's
        QCOMPARE(window_->variantChoice(Upper)->count(), 3);
    }

    void kindsSetArrowsTitleAndFont() {
        const struct {
            TextKind upper, lower;
            bool down, up;
            const char* titleEnd;
            const char* upperFont;
        } cases[] = {{Pinyin, GB, false, true, "Pinyin <- GB", "slot0"},
                     {Html, Jyutping, false, true, "HTML <- Jyutping", "slot0"},
                     {Big5, Big5, true, true, "Big5 <-> Big5", "slot3"},
                     {Jyutping, Pinyin, false, false, "Jyutping - Pinyin", "slot0"}};
        for (const auto& c : cases) {
            Choose(Upper, c.upper);
            Choose(Lower, c.lower);
            QCOMPARE(window_->button(kButtonDownArrow)->isEnabled(), c.down);
            QCOMPARE(window_->button(kButtonUpArrow)->isEnabled(), c.up);
            QVERIFY2(window_->windowTitle().endsWith(QString::fromUtf8(c.titleEnd)), c.titleEnd);
            QCOMPARE(window_->textBox(Upper)->font().family(), QString::fromLatin1(c.upperFont));
        }
    }

    void convertsThroughTheArrows() {
        window_->textBox(Upper)->setPlainText(QStringLiteral("中文"));
        ClickArrow(kButtonDownArrow);
        QCOMPARE(Text(Lower), QStringLiteral("&#x4e2d;&#x6587;"));
        QTest::mouseClick(window_->button(kButtonClear1), Qt::LeftButton);
        QVERIFY(Text(Upper).isEmpty());
        ClickArrow(kButtonUpArrow);
        QCOMPARE(Text(Upper), QStringLiteral("中文"));

        Choose(Lower, Pinyin);
        window_->textBox(Upper)->setPlainText(QStringLiteral("银行行人"));
        ClickArrow(kButtonDownArrow);
        QCOMPARE(Text(Lower), QStringLiteral("yin2 hang2  xing2 ren2"));

        Choose(Lower, Big5);
        window_->variantChoice(Lower)->setCurrentIndex(1); // Taiwan
        window_->textBox(Upper)->setPlainText(QStringLiteral("着"));
        ClickArrow(kButtonDownArrow);
        QCOMPARE(Text(Lower), QStringLiteral("著"));
        QVERIFY(reporter_.messages.isEmpty());
    }

    void copySaveAndHideKeepTheText() {
        window_->textBox(Lower)->setPlainText(QStringLiteral("&#x4e2d; 中 𠀀"));
        QTest::mouseClick(window_->button(kButtonCopy2), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("&#x4e2d; 中 𠀀"));

        QTemporaryDir folder;
        savePath_ = folder.filePath(QStringLiteral("lower.html"));
        QTest::mouseClick(window_->button(kButtonSave2), Qt::LeftButton);
        QFile saved(savePath_);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QStringLiteral("&#x4e2d; 中 𠀀").toUtf8());
        savePath_ = folder.filePath(QStringLiteral("missing/lower.html"));
        QTest::mouseClick(window_->button(kButtonSave2), Qt::LeftButton);
        QCOMPARE(reporter_.messages.size(), 1);

        Choose(Upper, Big5);
        QTest::mouseClick(window_->button(kConverterHide), Qt::LeftButton);
        QVERIFY(window_->isHidden());
        window_->show();
        QCOMPARE(Text(Lower), QStringLiteral("&#x4e2d; 中 𠀀"));
        QVERIFY(window_->kindButton(Upper, Big5)->isChecked());
    }
};

QTEST_MAIN(ConverterWindowTest)
#include "ConverterWindowTest.moc"
