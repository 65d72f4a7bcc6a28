// The Chinese fonts dialog driven without a modal loop: first run, lists, previews, Default boxes, OK,
// Cancel.
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
// Chinese faces that the first run does not accept on its own.
const InstalledFonts kUnsuitable =
    MakeInstalledFonts({"Some Kai", "@Some Kai"}, {"Some Kai", "Other Ming"}, {"Menu Sans", "DejaVu Serif"});

// The items of every face list (or size list), top to bottom.
QString Lists(const FontsDialog& dialog,
              QComboBox* (FontsDialog::*list)(FontRow) const = &FontsDialog::faceList) {
    QStringList lists;
    for (int row = 0; row < kFontRows; ++row) {
        const QComboBox* box = (dialog.*list)(static_cast<FontRow>(row));
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items.append(box->itemText(i));
        }
        lists.append(items.join(u','));
    }
    return lists.join(" | ");
}

// Each row as "face size", then "[x]" or "[ ]" for its Default box, "off" for a disabled face list,
// and "preview FAMILY" when the preview's face is not the one shown.
QString Rows(const FontsDialog& dialog) {
    QStringList rows;
    for (int i = 0; i < kFontRows; ++i) {
        const auto row = static_cast<FontRow>(i);
        QStringList parts = {dialog.faceList(row)->currentText(), dialog.sizeList(row)->currentText()};
        if (const QCheckBox* box = dialog.defaultBox(row)) {
            parts.append(box->isChecked() ? "[x]" : "[ ]");
        }
        if (!dialog.faceList(row)->isEnabled()) {
            parts.append("off");
        }
        if (dialog.preview(row)->font().family() != parts.first()) {
            parts.append("preview " + dialog.preview(row)->font().family());
        }
        rows.append(parts.join(u' '));
    }
    return rows.join(" | ");
}

// Shows the dialog and clicks one of its buttons.
int Press(FontsDialog& dialog, QPushButton* button) {
    dialog.show();
    QTest::mouseClick(button, Qt::LeftButton);
    return dialog.result();
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
    QString Read(const char* name) const { return settings_.value(name); }
    QString Stored() const { return quillory::testing::StoredText(settings_); }

private slots:
    void init() {
        QVERIFY(settings_.isValid());
        settings_.Clear();
        reporter_.messages.clear();
        opened_.clear();
    }

    void firstRunWithSuitableFacesStoresThemWithoutShowing() {
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
    }

    // Vertical faces are left out of the system's lists by MakeInstalledFonts, checked in FontChoiceTest.
    void firstRunOnThisComputerFindsAnInstalledFreeFace() {
        // fonts-wqy-zenhei is installed on the machines that run these tests.
        const FontsDialogSetup system = SystemFontsSetup(&reporter_);
        QVERIFY(!system.menuFace.isEmpty() && !system.fonts.other.isEmpty());
        QVERIFY(EnsureChineseFonts(store(), nullptr, &reporter_));
        // A letter and a face: never the "<missing>" of an unset value.
        QVERIFY(Read("SFont").startsWith(u'g') && Read("SFont").size() > 1);
        QVERIFY(Read("TFont").startsWith(u'b') && Read("TFont").size() > 1);
    }

    void firstRunWithoutAFaceForEachSetAsksWithTheOneFoundPreselected() {
        FontsDialog dialog(
            store(), FontsDialogMode::FirstRun,
            Setup(MakeInstalledFonts({"SimSun", "Some Kai", "@Some Kai"}, {"Some Kai", "Other Ming"},
                                     {kMenuFace, "DejaVu Serif"})));
        QVERIFY(!dialog.setUpComplete());
        QCOMPARE(dialog.windowTitle(), u"Quillory: Choose Fonts"_s);
        QCOMPARE(dialog.exitButton()->text(), u"Exit"_s);
        QCOMPARE(dialog.okButton()->text(), u"OK"_s);
        // Sorted, without vertical faces; the Pinyin list offers the private face alone.
        QCOMPARE(Lists(dialog),
                 u"Other Ming,SimSun,Some Kai | Other Ming,SimSun,Some Kai | DejaVu Serif,Menu Sans"
                 " | Oxapinyin basic | DejaVu Serif,Menu Sans"_s);
        // Nothing else is chosen for the user; English and Jyutping start at the menu face.
        QCOMPARE(dialog.faceList(Traditional)->currentIndex(), -1);
        QCOMPARE(dialog.faceList(Simplified)->currentText(), u"SimSun"_s);
        QCOMPARE(dialog.preview(Simplified)->font().family(), u"SimSun"_s);
        QCOMPARE(dialog.faceList(English)->currentText(), kMenuFace);
        QCOMPARE(Stored(), u"SFont=gSimSun"_s);

        // The user completes the choice and confirms it.
        dialog.faceList(Traditional)->setCurrentText(u"Some Kai"_s);
        QCOMPARE(Press(dialog, dialog.okButton()), int(QDialog::Accepted));
        QCOMPARE(Read("TFont"), u"bSome Kai"_s);
        QCOMPARE(Read("EFont"), kMenuFace);
        QCOMPARE(Read("EDefault"), u"1"_s);
    }

    // Exit ends the start-up and stores nothing; OK stores the choice.
    void ensureEndsWithFalseWhenTheUserChoosesExit() {
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
            QCOMPARE(EnsureChineseFonts(store(), nullptr, Setup(kUnsuitable)), ok);
            QCOMPARE(Read("SFont") + u' ' + Read("TFont"),
                     ok ? u"gSome Kai bOther Ming"_s : u"<missing> <missing>"_s);
        }
        QVERIFY(Stored().startsWith(u"EDefault=1"_s));
    }

    void normalModeShowsTheStoredChoiceAndFixedContentsAndCancelStoresNothing() {
        QVERIFY(quillory::testing::StoreText(
            store(), "SFont=gSimHei; SSize=c; TFont=bPMingLiU; EDefault=0; EFont=DejaVu Serif; PSize=14"));
        const QString before = Stored();

        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup());
        QCOMPARE(dialog.exitButton()->text(), u"Cancel"_s);
        QCOMPARE(
            Rows(dialog),
            u"SimHei 12 | PMingLiU 11 | DejaVu Serif 10 [ ] | Oxapinyin basic 13 off | Menu Sans 10 [x] off"_s);
        QCOMPARE(Lists(dialog),
                 u"MingLiU,PMingLiU,SimHei,SimSun | MingLiU,PMingLiU,SimHei,SimSun | "
                 "Courier,DejaVu Serif,Menu Sans | Oxapinyin basic | Courier,DejaVu Serif,Menu Sans"_s);
        QCOMPARE(Lists(dialog, &FontsDialog::sizeList),
                 QStringList(kFontRows, u"8,9,10,11,12,13"_s).join(" | "));
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
        QVERIFY(dialog.link()->activate());
        QCOMPARE(opened_, QList<QUrl>{QUrl(u"https://www.tessaravin.example/fonts.php"_s)});
        QVERIFY(dialog.link()->text().startsWith(u"Click here"_s));

        // Every control lies inside the dialog.
        dialog.show();
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(dialog.rect().contains(child->geometry()), child->metaObject()->className());
        }
        // Changing controls and then cancelling stores nothing.
        dialog.faceList(Simplified)->setCurrentText(u"SimSun"_s);
        dialog.defaultBox(Jyutping)->setChecked(false);
        QCOMPARE(Press(dialog, dialog.exitButton()), int(QDialog::Rejected));
        QCOMPARE(Stored(), before);
    }

    void defaultBoxesAndOkStoreWhatTheControlsShow() {
        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup());
        QVERIFY(!dialog.defaultBox(Simplified) && !dialog.defaultBox(Pinyin));
        QCheckBox* box = dialog.defaultBox(English);
        QCOMPARE(box->text(), u"Default"_s);
        dialog.show();

        QTest::mouseClick(box, Qt::LeftButton);
        dialog.faceList(English)->setCurrentText(u"DejaVu Serif"_s);
        QVERIFY(!dialog.choice().englishDefault);
        QVERIFY(Rows(dialog).contains(u"| DejaVu Serif 10 [ ] |"_s));
        // Ticking it again goes back to the menu font's face.
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(Rows(dialog).contains(u"| Menu Sans 10 [x] off |"_s));

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

        QCOMPARE(Press(dialog, dialog.okButton()), int(QDialog::Accepted));
        // Sizes in hexadecimal; the English face is the menu face its Default box keeps.
        QCOMPARE(Stored(), u"EDefault=1; EFont=Menu Sans; ESize=a; JDefault=0; JFont=Courier; "
                           "JSize=8; PSize=c; SFont=gSimSun; SSize=d; TFont=bMingLiU; TSize=a"_s);
        QVERIFY(reporter_.messages.isEmpty());
    }

    void aStoreThatCannotBeWrittenIsReported() {
        // A plain file where the settings folder should be.
        QFile blocker(settings_.folder() + u"/blocker"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore unwritable(blocker.fileName() + u"/settings.ini"_s);

        FontsDialog first(unwritable, FontsDialogMode::FirstRun, Setup());
        QCOMPARE(reporter_.messages, QStringList{"Cannot save the font settings."});
        FontsDialog dialog(unwritable, FontsDialogMode::Normal, Setup());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(reporter_.messages.size(), 2);
    }
};

QTEST_MAIN(FontsDialogTest)
#include "FontsDialogTest.moc"
