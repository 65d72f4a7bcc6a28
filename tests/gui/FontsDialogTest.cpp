// The Chinese fonts dialog driven without a modal loop: the first run with
// and without suitable faces, the lists and previews, the Default boxes,
// what OK stores and that Cancel stores nothing.
#include "stroke/fonts/FontsDialog.h"
#include "controls/HyperlinkLabel.h"
#include "dictionary/text/MessageReporter.h"
#include "dictionary/text/Romanisation.h"
#include "tests/support/TemporarySettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillory;

namespace {

const QString kMenuFace = QStringLiteral("Menu Sans");

InstalledFonts WindowsLikeFonts() {
    return MakeInstalledFonts({"SimSun", "@SimSun", "SimHei"}, {"MingLiU", "@MingLiU", "PMingLiU"},
                              {"Menu Sans", "DejaVu Serif", "@Arial", "Courier"});
}

// Chinese faces that the first run does not accept on its own.
InstalledFonts UnsuitableFonts() {
    return MakeInstalledFonts({"Some Kai", "@Some Kai"}, {"Some Kai", "Other Ming"},
                              {"Menu Sans", "DejaVu Serif"});
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    return items;
}

// Whether any list offers a vertical ("@") face.
bool ListsVerticalFace(const FontsDialog& dialog) {
    for (int row = 0; row < kFontRows; ++row) {
        if (!Items(dialog.faceList(static_cast<FontRow>(row))).filter(QRegularExpression("^@")).isEmpty()) {
            return true;
        }
    }
    return false;
}

void Choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

QString Family(const QLabel* preview) {
    return preview->font().family();
}

} // namespace

class FontsDialogTest : public QObject {
    Q_OBJECT

private:
    quillory::testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    QList<QUrl> opened_;

    FontsDialogSetup Setup(InstalledFonts fonts) {
        FontsDialogSetup setup;
        setup.fonts = std::move(fonts);
        setup.menuFace = kMenuFace;
        setup.urlOpener = [this](const QUrl& url) {
            opened_.append(url);
            return true;
        };
        setup.reporter = &reporter_;
        return setup;
    }

    SettingsStore& store() { return settings_.store(); }
    QString Read(const char* name) const { return settings_.value(name); }

    // Every stored value as "name=value", sorted by name.
    QString Stored() const {
        QStringList values;
        for (const QString& name : settings_.storedNames()) {
            values.append(name + u'=' + settings_.value(qPrintable(name)));
        }
        return values.join(QStringLiteral("; "));
    }

private slots:
    void init() {
        QVERIFY(settings_.isValid());
        settings_.Clear();
        reporter_.messages.clear();
        opened_.clear();
    }

    void firstRunWithSuitableFacesStoresThemWithoutShowing() {
        {
            FontsDialog dialog(store(), FontsDialogMode::FirstRun, Setup(WindowsLikeFonts()));
            QVERIFY(dialog.setUpComplete());
            QVERIFY(!dialog.isVisible());
            // Sizes and the English and Jyutping settings are left alone.
            QCOMPARE(Stored(), QStringLiteral("SFont=gSimSun; TFont=bMingLiU"));
        }
        // The start-up check returns at once, here and once the fonts are stored.
        settings_.Clear();
        QVERIFY(EnsureChineseFonts(store(), nullptr, Setup(WindowsLikeFonts())));
        QCOMPARE(Read("TFont"), QStringLiteral("bMingLiU"));
        QVERIFY(EnsureChineseFonts(store(), nullptr, Setup(InstalledFonts{})));
        QVERIFY(reporter_.messages.isEmpty());
    }

    void firstRunOnThisComputerFindsAnInstalledFreeFace() {
        // fonts-wqy-zenhei is installed on the machines that run these tests.
        const FontsDialogSetup system = SystemFontsSetup(&reporter_);
        QVERIFY(!system.menuFace.isEmpty());
        QVERIFY(!system.fonts.other.isEmpty());
        for (const FontEntry& entry : system.fonts.chinese) {
            QVERIFY(!entry.face.startsWith(u'@'));
        }
        QVERIFY(EnsureChineseFonts(store(), nullptr, &reporter_));
        // A letter and a face: never the "<missing>" of an unset value.
        QVERIFY(Read("SFont").startsWith(u'g') && Read("SFont").size() > 1);
        QVERIFY(Read("TFont").startsWith(u'b') && Read("TFont").size() > 1);
    }

    void firstRunWithoutSuitableFacesAsksWithAnExitButton() {
        FontsDialog dialog(store(), FontsDialogMode::FirstRun, Setup(UnsuitableFonts()));
        QVERIFY(!dialog.setUpComplete());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillory: Choose Fonts"));
        QCOMPARE(dialog.exitButton()->text(), QStringLiteral("Exit"));
        QCOMPARE(dialog.okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(Items(dialog.faceList(FontRow::Simplified)), (QStringList{"Other Ming", "Some Kai"}));
        QCOMPARE(Items(dialog.faceList(FontRow::Traditional)), Items(dialog.faceList(FontRow::Simplified)));
        QCOMPARE(Items(dialog.faceList(FontRow::English)), (QStringList{"DejaVu Serif", "Menu Sans"}));
        QVERIFY(!ListsVerticalFace(dialog));
        // Nothing is chosen for the user; English and Jyutping start at the menu face.
        QCOMPARE(dialog.faceList(FontRow::Simplified)->currentIndex(), -1);
        QCOMPARE(dialog.faceList(FontRow::English)->currentText(), kMenuFace);

        dialog.show();
        QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(Stored(), QString());
    }

    void firstRunPreselectsTheFaceThatWasFound() {
        FontsDialog dialog(store(), FontsDialogMode::FirstRun,
                           Setup(MakeInstalledFonts({"SimSun", "Some Kai"}, {"Some Kai"}, {kMenuFace})));
        QVERIFY(!dialog.setUpComplete());
        QCOMPARE(dialog.faceList(FontRow::Simplified)->currentText(), QStringLiteral("SimSun"));
        QCOMPARE(Family(dialog.preview(FontRow::Simplified)), QStringLiteral("SimSun"));
        QCOMPARE(dialog.faceList(FontRow::Traditional)->currentIndex(), -1);
        QCOMPARE(Stored(), QStringLiteral("SFont=gSimSun"));

        // The user completes the choice and confirms it.
        Choose(dialog.faceList(FontRow::Traditional), QStringLiteral("Some Kai"));
        dialog.show();
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Read("TFont"), QStringLiteral("bSome Kai"));
        QCOMPARE(Read("EFont"), kMenuFace);
        QCOMPARE(Read("EDefault"), QStringLiteral("1"));
    }

    void ensureEndsWithFalseWhenTheUserChoosesExit() {
        // The modal dialog is answered from the event loop it runs.
        auto answer = [this](bool ok) {
            QTimer::singleShot(0, this, [ok] {
                auto* dialog = qobject_cast<FontsDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                if (ok) {
                    Choose(dialog->faceList(FontRow::Simplified), QStringLiteral("Some Kai"));
                    Choose(dialog->faceList(FontRow::Traditional), QStringLiteral("Other Ming"));
                }
                (ok ? dialog->okButton() : dialog->exitButton())->click();
            });
        };
        answer(false);
        QVERIFY(!EnsureChineseFonts(store(), nullptr, Setup(UnsuitableFonts())));
        QCOMPARE(Stored(), QString());
        answer(true);
        QVERIFY(EnsureChineseFonts(store(), nullptr, Setup(UnsuitableFonts())));
        QCOMPARE(Read("SFont"), QStringLiteral("gSome Kai"));
        QCOMPARE(Read("TFont"), QStringLiteral("bOther Ming"));
    }

    void normalModeShowsTheStoredChoice() {
        const std::pair<const char*, const char*> stored[] = {{"SFont", "gSimHei"},      {"SSize", "c"},
                                                              {"TFont", "bPMingLiU"},    {"EDefault", "0"},
                                                              {"EFont", "DejaVu Serif"}, {"PSize", "14"}};
        for (const auto& [name, value] : stored) {
            QVERIFY(store().WriteSetting(name, value));
        }
        const QString before = Stored();

        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        QCOMPARE(dialog.exitButton()->text(), QStringLiteral("Cancel"));
        QCOMPARE(dialog.faceList(FontRow::Simplified)->currentText(), QStringLiteral("SimHei"));
        QCOMPARE(dialog.sizeList(FontRow::Simplified)->currentText(), QStringLiteral("12"));
        QCOMPARE(dialog.faceList(FontRow::Traditional)->currentText(), QStringLiteral("PMingLiU"));
        QCOMPARE(dialog.sizeList(FontRow::Traditional)->currentText(), QStringLiteral("11"));
        QCOMPARE(dialog.sizeList(FontRow::Pinyin)->currentText(), QStringLiteral("13"));
        QVERIFY(!dialog.defaultBox(FontRow::English)->isChecked());
        QVERIFY(dialog.faceList(FontRow::English)->isEnabled());
        QCOMPARE(dialog.faceList(FontRow::English)->currentText(), QStringLiteral("DejaVu Serif"));
        QVERIFY(dialog.defaultBox(FontRow::Jyutping)->isChecked());
        QVERIFY(!dialog.faceList(FontRow::Jyutping)->isEnabled());
        QVERIFY(!ListsVerticalFace(dialog));
        QCOMPARE(Family(dialog.preview(FontRow::Traditional)), QStringLiteral("PMingLiU"));

        // Changing controls and then cancelling stores nothing.
        Choose(dialog.faceList(FontRow::Simplified), QStringLiteral("SimSun"));
        Choose(dialog.sizeList(FontRow::English), QStringLiteral("8"));
        dialog.defaultBox(FontRow::Jyutping)->setChecked(false);
        dialog.show();
        QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(Stored(), before);
    }

    void okStoresFacesSizesAndFlags() {
        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        Choose(dialog.faceList(FontRow::Simplified), QStringLiteral("SimSun"));
        Choose(dialog.sizeList(FontRow::Simplified), QStringLiteral("13"));
        // A Big5 face as the traditional font is stored with the letter b.
        Choose(dialog.faceList(FontRow::Traditional), QStringLiteral("MingLiU"));
        Choose(dialog.sizeList(FontRow::Traditional), QStringLiteral("10"));
        Choose(dialog.sizeList(FontRow::Pinyin), QStringLiteral("12"));
        Choose(dialog.sizeList(FontRow::Jyutping), QStringLiteral("8"));
        dialog.defaultBox(FontRow::Jyutping)->setChecked(false);
        Choose(dialog.faceList(FontRow::Jyutping), QStringLiteral("Courier"));
        QCOMPARE(Family(dialog.preview(FontRow::Jyutping)), QStringLiteral("Courier"));
        QCOMPARE(Family(dialog.preview(FontRow::Simplified)), QStringLiteral("SimSun"));

        dialog.show();
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // Sizes in hexadecimal; the English face is the menu face its Default box keeps.
        QCOMPARE(Stored(),
                 QStringLiteral("EDefault=1; EFont=Menu Sans; ESize=a; JDefault=0; JFont=Courier; "
                                "JSize=8; PSize=c; SFont=gSimSun; SSize=d; TFont=bMingLiU; TSize=a"));
        QVERIFY(reporter_.messages.isEmpty());
    }

    void defaultBoxesSwitchTheFaceListAndTheFace() {
        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        QCheckBox* box = dialog.defaultBox(FontRow::English);
        QVERIFY(box);
        QVERIFY(!dialog.defaultBox(FontRow::Simplified));
        QVERIFY(!dialog.defaultBox(FontRow::Pinyin));
        QCOMPARE(box->text(), QStringLiteral("Default"));
        QVERIFY(box->isChecked());
        QVERIFY(!dialog.faceList(FontRow::English)->isEnabled());
        dialog.show();

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QVERIFY(dialog.faceList(FontRow::English)->isEnabled());
        Choose(dialog.faceList(FontRow::English), QStringLiteral("DejaVu Serif"));
        QCOMPARE(Family(dialog.preview(FontRow::English)), QStringLiteral("DejaVu Serif"));
        QVERIFY(!dialog.choice().englishDefault);

        // Ticking it again goes back to the menu font's face.
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QVERIFY(!dialog.faceList(FontRow::English)->isEnabled());
        QCOMPARE(Family(dialog.preview(FontRow::English)), kMenuFace);
        QCOMPARE(dialog.faceList(FontRow::English)->currentText(), kMenuFace);
        dialog.accept();
        QCOMPARE(Read("EDefault"), QStringLiteral("1"));
        QCOMPARE(Read("EFont"), kMenuFace);
    }

    void controlsCarryTheirFixedContents() {
        FontsDialog dialog(store(), FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        for (int row = 0; row < kFontRows; ++row) {
            QCOMPARE(Items(dialog.sizeList(static_cast<FontRow>(row))),
                     (QStringList{"8", "9", "10", "11", "12", "13"}));
        }
        QCOMPARE(Items(dialog.faceList(FontRow::Pinyin)), QStringList{"Oxapinyin basic"});
        QVERIFY(!dialog.faceList(FontRow::Pinyin)->isEnabled());
        QCOMPARE(Family(dialog.preview(FontRow::Pinyin)), QStringLiteral("Oxapinyin basic"));
        // The Pinyin preview is written in the private font's codes.
        QCOMPARE(dialog.preview(FontRow::Pinyin)->text(), MarkPinyinFont(u"xue2 xi2 zhong1 wen2"));
        QCOMPARE(dialog.preview(FontRow::Simplified)->text(), QStringLiteral("学习中文"));
        QCOMPARE(dialog.preview(FontRow::Traditional)->text(), QStringLiteral("學習中文"));
        QVERIFY(dialog.noteLabel()->font().bold() && dialog.noteLabel()->font().italic());

        // Previews take the chosen size at the dialog's resolution.
        Choose(dialog.sizeList(FontRow::English), QStringLiteral("13"));
        const int large = dialog.preview(FontRow::English)->font().pixelSize();
        Choose(dialog.sizeList(FontRow::English), QStringLiteral("8"));
        QVERIFY(dialog.preview(FontRow::English)->font().pixelSize() < large);
        QCOMPARE(dialog.choice().englishSize, 8);

        // The link opens the page on installing Chinese fonts.
        QVERIFY(dialog.link()->activate());
        QCOMPARE(opened_, QList<QUrl>{QUrl(QStringLiteral("https://www.tessaravin.example/fonts.php"))});
        QVERIFY(dialog.link()->text().startsWith(QStringLiteral("Click here")));

        // Every control lies inside the dialog.
        dialog.show();
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(dialog.rect().contains(child->geometry()), child->metaObject()->className());
        }
    }

    void aStoreThatCannotBeWrittenIsReported() {
        // A plain file where the settings folder should be.
        QFile blocker(settings_.folder() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore unwritable(blocker.fileName() + QStringLiteral("/settings.ini"));

        FontsDialog first(unwritable, FontsDialogMode::FirstRun, Setup(WindowsLikeFonts()));
        QCOMPARE(reporter_.messages, QStringList{"Cannot save the font settings."});
        FontsDialog dialog(unwritable, FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(reporter_.messages.size(), 2);
    }
};

QTEST_MAIN(FontsDialogTest)
#include "FontsDialogTest.moc"
