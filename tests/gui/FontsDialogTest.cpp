// The Chinese fonts dialog without a modal loop: first run, lists, previews, Default boxes, OK, Cancel.
#include "stroke/fonts/FontsDialog.h"
#include "controls/HyperlinkLabel.h"
#include "dictionary/text/MessageReporter.h"
#include "dictionary/text/Romanisation.h"
#include "tests/support/SettingsText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillory;
using namespace Qt::StringLiterals;
using enum FontRow;

namespace {

const QString kMenuFace = u"Menu Sans"_s;
const InstalledFonts kWindowsLike =
    MakeInstalledFonts({"SimSun", "@SimSun", "SimHei"}, {"MingLiU", "@MingLiU", "PMingLiU"},
                       {"Menu Sans", "DejaVu Serif", "@Arial", "Courier"});

// The items of every face list (or size list), top to bottom.
QString Lists(const FontsDialog& dialog, bool sizes = false) {
    QStringList lists;
    for (int row = 0; row < kFontRows; ++row) {
        const auto which = static_cast<FontRow>(row);
        const QComboBox* box = sizes ? dialog.sizeList(which) : dialog.faceList(which);
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items.append(box->itemText(i));
        }
        lists.append(items.join(u','));
    }
    return lists.join(" | ");
}

// Each row as "face size", "[x]"/"[ ]" for a Default box, "off", and a preview face unlike the shown one.
QString Rows(const FontsDialog& dialog) {
    QStringList rows;
    for (int i = 0; i < kFontRows; ++i) {
        const auto row = static_cast<FontRow>(i);
        const QString face = dialog.faceList(row)->currentText();
        const QString family = dialog.preview(row)->font().family();
        const QCheckBox* box = dialog.defaultBox(row);
        QString text = face + u' ' + dialog.sizeList(row)->currentText();
        text += !box ? "" : box->isChecked() ? " [x]" : " [ ]";
        text += dialog.faceList(row)->isEnabled() ? "" : " off";
        text += face.isEmpty() || family == face ? QString() : " preview " + family;
        rows.append(text);
    }
    return rows.join(" | ");
}

} // namespace

class FontsDialogTest : public QObject {
    Q_OBJECT

private:
    quillory::testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    QList<QUrl> opened_;

    FontsDialogSetup Setup(InstalledFonts fonts = kWindowsLike) {
        return {std::move(fonts), kMenuFace, [this](const QUrl& url) { return opened_.append(url), true; },
                &reporter_};
    }

    SettingsStore& store() { return settings_.store(); }
    QString Stored() const { return quillory::testing::StoredText(settings_); }

private slots:
    void init() {
        QVERIFY(settings_.isValid());
        settings_.Clear();
        reporter_.messages.clear();
        opened_.clear();
    }

    void firstRunStoresSuitableFacesWithoutShowingAndReportsAFailedStore() {
        FontsDialog dialog(store(), FontsDialogMode::FirstRun, Setup());
        QVERIFY(dialog.setUpComplete() && !dialog.isVisible());
        // Sizes and the English and Jyutping settings are left alone.
        QCOMPARE(Stored(), u"SFont=gSimSun; TFont=bMingLiU"_s);
        // The start-up check returns at once, here and once the fonts are stored.
        settings_.Clear();
        QVERIFY(EnsureChineseFonts(store(), nullptr, Setup()));
        QCOMPARE(Stored(), u"SFont=gSimSun; TFont=bMingLiU"_s);
        QVERIFY(EnsureChineseFonts(store(), nullptr, Setup(InstalledFonts{})));
        QVERIFY(reporter_.messages.isEmpty());
        // The system's faces: fonts-wqy-zenhei is installed on the machines that run these tests.
        settings_.Clear();
        const FontsDialogSetup system = SystemFontsSetup(&reporter_);
        QVERIFY(!system.menuFace.isEmpty() && !system.fonts.other.isEmpty());
        QVERIFY(EnsureChineseFonts(store(), nullptr, &reporter_));
        QVERIFY2(QRegularExpression(u"^SFont=g[^;]+; TFont=b[^;]+$"_s).match(Stored()).hasMatch(),
                 qPrintable(Stored()));
        // A store that cannot be written, a plain file where its folder should be, is reported.
        const QString blocker = settings_.folder() + u"/blocker"_s;
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        SettingsStore unwritable(blocker + u"/settings.ini"_s);
        FontsDialog failed(unwritable, FontsDialogMode::FirstRun, Setup());
        QCOMPARE(reporter_.messages, QStringList{"Cannot save the font settings."});
        FontsDialog normal(unwritable, FontsDialogMode::Normal, Setup());
        normal.accept();
        QCOMPARE(normal.result(), int(QDialog::Accepted));
        QCOMPARE(reporter_.messages.size(), 2);
    }

    void firstRunWithoutAFaceForEachSetAsksWithTheOneFoundPreselected() {
        const InstalledFonts fonts = MakeInstalledFonts(
            {"SimSun", "Some Kai", "@Some Kai"}, {"Some Kai", "Other Ming"}, {kMenuFace, "DejaVu Serif"});
        FontsDialog dialog(store(), FontsDialogMode::FirstRun, Setup(fonts));
        QVERIFY(!dialog.setUpComplete());
        QCOMPARE((QStringList{dialog.windowTitle(), dialog.exitButton()->text(), dialog.okButton()->text()}),
                 (QStringList{"Quillory: Choose Fonts", "Exit", "OK"}));
        // Sorted, without vertical faces; the Pinyin list offers the private face alone.
        QCOMPARE(Lists(dialog),
                 u"Other Ming,SimSun,Some Kai | Other Ming,SimSun,Some Kai | DejaVu Serif,Menu Sans"
                 " | Oxapinyin basic | DejaVu Serif,Menu Sans"_s);
        // Nothing else is chosen for the user; English and Jyutping start at the menu face.
        QCOMPARE(Rows(dialog),
                 u"SimSun 11 |  11 | Menu Sans 10 [x] off | Oxapinyin basic 10 off | Menu Sans 10 [x] off"_s);
        QCOMPARE(Stored(), u"SFont=gSimSun"_s);
        // The user completes the choice and confirms it.
        dialog.faceList(Traditional)->setCurrentText(u"Some Kai"_s);
        dialog.okButton()->click(); // what OK stores in the first run is checked in the next test
        QVERIFY(Stored().contains(u"TFont=bSome Kai;"_s));
    }

    // Exit ends the start-up and stores nothing; OK stores the choice.
    void ensureEndsWithFalseWhenTheUserChoosesExit() {
        // Chinese faces that the first run does not accept on its own.
        const InstalledFonts unsuitable =
            MakeInstalledFonts({"Some Kai"}, {"Some Kai", "Other Ming"}, {kMenuFace});
        for (const bool ok : {false, true}) {
            // The modal dialog is answered from the event loop it runs.
            QTimer::singleShot(0, this, [ok] {
                auto* dialog = qobject_cast<FontsDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                if (ok) {
                    dialog->faceList(Simplified)->setCurrentText(u"Some Kai"_s);
                    dialog->faceList(Traditional)->setCurrentText(u"Other Ming"_s);
                }
                (ok ? dialog->okButton() : dialog->exitButton())->click();
            });
            QCOMPARE(EnsureChineseFonts(store(), nullptr, Setup(unsuitable)), ok);
            QCOMPARE(Stored(),
                     ok ? u"EDefault=1; EFont=Menu Sans; ESize=a; JDefault=1; JFont=Menu Sans; JSize=a; "
                          "PSize=a; SFont=gSome Kai; SSize=b; TFont=bOther Ming; TSize=b"_s
                        : QString());
        }
    }

    void normalModeShowsTheStoredChoiceAndFixedContentsAndCancelStoresNothing() {
        QVERIFY(quillory::testing::StoreText(
            store(), "SFont=gSimHei; SSize=c; TFont=bPMingLiU; EDefault=0; EFont=DejaVu Serif; PSize=14"));
        const QString before = Stored();
        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup());
        QCOMPARE(dialog.exitButton()->text(), u"Cancel"_s);
        QCOMPARE(Rows(dialog), u"SimHei 12 | PMingLiU 11 | DejaVu Serif 10 [ ] | "
                               "Oxapinyin basic 13 off | Menu Sans 10 [x] off"_s);
        QCOMPARE(Lists(dialog),
                 u"MingLiU,PMingLiU,SimHei,SimSun | MingLiU,PMingLiU,SimHei,SimSun | "
                 "Courier,DejaVu Serif,Menu Sans | Oxapinyin basic | Courier,DejaVu Serif,Menu Sans"_s);
        QCOMPARE(Lists(dialog, true), QStringList(kFontRows, u"8,9,10,11,12,13"_s).join(" | "));
        // The Pinyin preview is written in the private font's codes.
        QCOMPARE(dialog.preview(Pinyin)->text(), MarkPinyinFont(u"xue2 xi2 zhong1 wen2"));
        QCOMPARE(dialog.preview(Simplified)->text(), u"学习中文"_s);
        QCOMPARE(dialog.preview(Traditional)->text(), u"學習中文"_s);
        QVERIFY(dialog.noteLabel()->font().bold() && dialog.noteLabel()->font().italic());
        // Previews take the chosen size at the dialog's resolution.
        dialog.sizeList(English)->setCurrentText(u"13"_s);
        const int large = dialog.preview(English)->font().pixelSize();
        dialog.sizeList(English)->setCurrentText(u"8"_s);
        QVERIFY(dialog.preview(English)->font().pixelSize() < large);
        QCOMPARE(dialog.choice().englishSize, 8);
        // The link opens the page on installing Chinese fonts.
        QVERIFY(dialog.link()->Activate());
        QCOMPARE(opened_, QList<QUrl>{QUrl(u"https://www.tessaravin.example/fonts.php"_s)});
        QVERIFY(dialog.link()->text().startsWith(u"Click here"_s));
        dialog.show(); // every control lies inside the dialog
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(dialog.rect().contains(child->geometry()), child->metaObject()->className());
        }
        // Changing controls and then cancelling stores nothing.
        dialog.faceList(Simplified)->setCurrentText(u"SimSun"_s);
        dialog.defaultBox(Jyutping)->setChecked(false);
        dialog.exitButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(Stored(), before);
    }

    void defaultBoxesAndOkStoreWhatTheControlsShow() {
        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup());
        QCheckBox* box = dialog.defaultBox(English);
        QCOMPARE(box->text(), u"Default"_s);
        dialog.show();
        QTest::mouseClick(box, Qt::LeftButton);
        dialog.faceList(English)->setCurrentText(u"DejaVu Serif"_s);
        QVERIFY(!dialog.choice().englishDefault);
        QVERIFY(Rows(dialog).contains(u"| DejaVu Serif 10 [ ] |"_s));
        QTest::mouseClick(box, Qt::LeftButton); // back to the menu font's face, checked below
        dialog.faceList(Simplified)->setCurrentText(u"SimSun"_s);
        dialog.sizeList(Simplified)->setCurrentText(u"13"_s);
        // A Big5 face as the traditional font is stored with the letter b.
        dialog.faceList(Traditional)->setCurrentText(u"MingLiU"_s);
        dialog.sizeList(Traditional)->setCurrentText(u"10"_s);
        dialog.sizeList(Pinyin)->setCurrentText(u"12"_s);
        dialog.sizeList(Jyutping)->setCurrentText(u"8"_s);
        dialog.defaultBox(Jyutping)->setChecked(false);
        dialog.faceList(Jyutping)->setCurrentText(u"Courier"_s);
        QCOMPARE(Rows(dialog),
                 u"SimSun 13 | MingLiU 10 | Menu Sans 10 [x] off | Oxapinyin basic 12 off | Courier 8 [ ]"_s);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        // Sizes in hexadecimal; the English face is the menu face its Default box keeps.
        QCOMPARE(Stored(), u"EDefault=1; EFont=Menu Sans; ESize=a; JDefault=0; JFont=Courier; "
                           "JSize=8; PSize=c; SFont=gSimSun; SSize=d; TFont=bMingLiU; TSize=a"_s);
        QVERIFY(reporter_.messages.isEmpty());
    }
};

QTEST_MAIN(FontsDialogTest)
#include "FontsDialogTest.moc"
