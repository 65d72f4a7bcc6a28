// The Chinese fonts dialog driven without a modal loop: the first run with
// and without suitable faces, the lists and previews, the Default boxes,
// what OK stores and that Cancel stores nothing.
#include "stroke/fonts/FontsDialog.h"
#include "controls/HyperlinkLabel.h"
#include "dictionary/text/MessageReporter.h"
#include "dictionary/text/Romanisation.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillory;

namespace {

const QString kMenuFace = QStringLiteral("Menu Sans");

InstalledFonts WindowsLikeFonts() {
    return MakeInstalledFonts(
        {QStringLiteral("SimSun"), QStringLiteral("@SimSun"), QStringLiteral("SimHei")},
        {QStringLiteral("MingLiU"), QStringLiteral("@MingLiU"), QStringLiteral("PMingLiU")},
        {QStringLiteral("Menu Sans"), QStringLiteral("DejaVu Serif"), QStringLiteral("@Arial"),
         QStringLiteral("Courier")});
}

// Chinese faces that the first run does not accept on its own.
InstalledFonts UnsuitableFonts() {
    return MakeInstalledFonts({QStringLiteral("Some Kai"), QStringLiteral("@Some Kai")},
                              {QStringLiteral("Some Kai"), QStringLiteral("Other Ming")},
                              {QStringLiteral("Menu Sans"), QStringLiteral("DejaVu Serif")});
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    return items;
}

bool ListsVerticalFace(const FontsDialog& dialog) {
    for (int row = 0; row < kFontRows; ++row) {
        for (const QString& item : Items(dialog.faceList(static_cast<FontRow>(row)))) {
            if (item.startsWith(u'@')) {
                return true;
            }
        }
    }
    return false;
}

void Choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

} // namespace

class FontsDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<SettingsStore> store_;
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

    QString Read(const char* name) const {
        return store_->ReadSetting(QString::fromLatin1(name)).value_or(QStringLiteral("<missing>"));
    }

    QStringList StoredNames() const {
        QSettings file(path_, QSettings::IniFormat);
        file.beginGroup(QStringLiteral("Versions"));
        QStringList keys = file.childKeys();
        keys.sort();
        return keys;
    }

    QMap<QString, QString> StoredValues() const {
        QMap<QString, QString> values;
        for (const QString& name : StoredNames()) {
            values.insert(name, store_->ReadSetting(name).value_or(QString()));
        }
        return values;
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("settings.ini"));
        QFile::remove(path_);
        store_ = std::make_unique<SettingsStore>(path_);
        reporter_.messages.clear();
        opened_.clear();
    }

    void firstRunWithSuitableFacesStoresThemWithoutShowing() {
        FontsDialog dialog(*store_, FontsDialogMode::FirstRun, Setup(WindowsLikeFonts()));
        QVERIFY(dialog.setUpComplete());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Read("SFont"), QStringLiteral("gSimSun"));
        QCOMPARE(Read("TFont"), QStringLiteral("bMingLiU"));
        // Sizes and the English and Jyutping settings are left alone.
        QCOMPARE(StoredNames(), (QStringList{QStringLiteral("SFont"), QStringLiteral("TFont")}));

        // The start-up check returns at once, here and once the fonts are stored.
        init();
        QVERIFY(EnsureChineseFonts(*store_, nullptr, Setup(WindowsLikeFonts())));
        QCOMPARE(Read("TFont"), QStringLiteral("bMingLiU"));
        QVERIFY(EnsureChineseFonts(*store_, nullptr, Setup(InstalledFonts{})));
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
        QVERIFY(EnsureChineseFonts(*store_, nullptr, &reporter_));
        QVERIFY(store_->ReadSetting(QStringLiteral("SFont")).has_value());
        QVERIFY(store_->ReadSetting(QStringLiteral("TFont")).has_value());
        QVERIFY(Read("SFont").startsWith(u'g'));
        QVERIFY(Read("TFont").startsWith(u'b'));
    }

    void firstRunWithoutSuitableFacesAsksWithAnExitButton() {
        FontsDialog dialog(*store_, FontsDialogMode::FirstRun, Setup(UnsuitableFonts()));
        QVERIFY(!dialog.setUpComplete());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillory: Choose Fonts"));
        QCOMPARE(dialog.exitButton()->text(), QStringLiteral("Exit"));
        QCOMPARE(dialog.okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(Items(dialog.faceList(FontRow::Simplified)),
                 (QStringList{QStringLiteral("Other Ming"), QStringLiteral("Some Kai")}));
        QCOMPARE(Items(dialog.faceList(FontRow::Traditional)), Items(dialog.faceList(FontRow::Simplified)));
        QCOMPARE(Items(dialog.faceList(FontRow::English)),
                 (QStringList{QStringLiteral("DejaVu Serif"), QStringLiteral("Menu Sans")}));
        QVERIFY(!ListsVerticalFace(dialog));
        // Nothing is chosen for the user; English and Jyutping start at the menu face.
        QCOMPARE(dialog.faceList(FontRow::Simplified)->currentIndex(), -1);
        QCOMPARE(dialog.faceList(FontRow::English)->currentText(), kMenuFace);
        QVERIFY(StoredNames().isEmpty());

        dialog.show();
        QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(StoredNames().isEmpty());
    }

    void firstRunPreselectsTheFaceThatWasFound() {
        const InstalledFonts fonts =
            MakeInstalledFonts({QStringLiteral("SimSun"), QStringLiteral("Some Kai")},
                               {QStringLiteral("Some Kai")}, {kMenuFace});
        FontsDialog dialog(*store_, FontsDialogMode::FirstRun, Setup(fonts));
        QVERIFY(!dialog.setUpComplete());
        QCOMPARE(dialog.faceList(FontRow::Simplified)->currentText(), QStringLiteral("SimSun"));
        QCOMPARE(dialog.preview(FontRow::Simplified)->font().family(), QStringLiteral("SimSun"));
        QCOMPARE(dialog.faceList(FontRow::Traditional)->currentIndex(), -1);
        QCOMPARE(Read("SFont"), QStringLiteral("gSimSun"));
        QCOMPARE(Read("TFont"), QStringLiteral("<missing>"));

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
        bool clicked = false;
        QTimer::singleShot(0, this, [&clicked] {
            auto* dialog = qobject_cast<FontsDialog*>(QApplication::activeModalWidget());
            if (dialog) {
                clicked = true;
                dialog->exitButton()->click();
            }
        });
        QVERIFY(!EnsureChineseFonts(*store_, nullptr, Setup(UnsuitableFonts())));
        QVERIFY(clicked);
        QVERIFY(StoredNames().isEmpty());

        QTimer::singleShot(0, this, [] {
            if (auto* dialog = qobject_cast<FontsDialog*>(QApplication::activeModalWidget())) {
                Choose(dialog->faceList(FontRow::Simplified), QStringLiteral("Some Kai"));
                Choose(dialog->faceList(FontRow::Traditional), QStringLiteral("Other Ming"));
                dialog->okButton()->click();
            }
        });
        QVERIFY(EnsureChineseFonts(*store_, nullptr, Setup(UnsuitableFonts())));
        QCOMPARE(Read("SFont"), QStringLiteral("gSome Kai"));
        QCOMPARE(Read("TFont"), QStringLiteral("bOther Ming"));
    }

    void normalModeShowsTheStoredChoice() {
        QVERIFY(store_->WriteSetting(QStringLiteral("SFont"), QStringLiteral("gSimHei")));
        QVERIFY(store_->WriteSetting(QStringLiteral("SSize"), QStringLiteral("c")));
        QVERIFY(store_->WriteSetting(QStringLiteral("TFont"), QStringLiteral("bPMingLiU")));
        QVERIFY(store_->WriteSetting(QStringLiteral("EDefault"), QStringLiteral("0")));
        QVERIFY(store_->WriteSetting(QStringLiteral("EFont"), QStringLiteral("DejaVu Serif")));
        QVERIFY(store_->WriteSetting(QStringLiteral("PSize"), QStringLiteral("14")));
        const auto before = StoredValues();

        FontsDialog dialog(*store_, FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
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
        QCOMPARE(dialog.preview(FontRow::Traditional)->font().family(), QStringLiteral("PMingLiU"));

        // Changing controls and then cancelling stores nothing.
        Choose(dialog.faceList(FontRow::Simplified), QStringLiteral("SimSun"));
        Choose(dialog.sizeList(FontRow::English), QStringLiteral("8"));
        dialog.defaultBox(FontRow::Jyutping)->setChecked(false);
        dialog.show();
        QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(StoredValues(), before);
    }

    void okStoresFacesSizesAndFlags() {
        FontsDialog dialog(*store_, FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        Choose(dialog.faceList(FontRow::Simplified), QStringLiteral("SimSun"));
        Choose(dialog.sizeList(FontRow::Simplified), QStringLiteral("13"));
        // A Big5 face as the traditional font is stored with the letter b.
        Choose(dialog.faceList(FontRow::Traditional), QStringLiteral("MingLiU"));
        Choose(dialog.sizeList(FontRow::Traditional), QStringLiteral("10"));
        Choose(dialog.sizeList(FontRow::Pinyin), QStringLiteral("12"));
        Choose(dialog.sizeList(FontRow::Jyutping), QStringLiteral("8"));
        dialog.defaultBox(FontRow::Jyutping)->setChecked(false);
        Choose(dialog.faceList(FontRow::Jyutping), QStringLiteral("Courier"));
        QCOMPARE(dialog.preview(FontRow::Jyutping)->font().family(), QStringLiteral("Courier"));
        QCOMPARE(dialog.preview(FontRow::Simplified)->font().family(), QStringLiteral("SimSun"));

        dialog.show();
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Read("SFont"), QStringLiteral("gSimSun"));
        QCOMPARE(Read("TFont"), QStringLiteral("bMingLiU"));
        QCOMPARE(Read("SSize"), QStringLiteral("d"));
        QCOMPARE(Read("TSize"), QStringLiteral("a"));
        QCOMPARE(Read("ESize"), QStringLiteral("a"));
        QCOMPARE(Read("PSize"), QStringLiteral("c"));
        QCOMPARE(Read("JSize"), QStringLiteral("8"));
        QCOMPARE(Read("EDefault"), QStringLiteral("1"));
        QCOMPARE(Read("JDefault"), QStringLiteral("0"));
        QCOMPARE(Read("JFont"), QStringLiteral("Courier"));
        QCOMPARE(Read("EFont"), kMenuFace);
        QVERIFY(reporter_.messages.isEmpty());
    }

    void defaultBoxesSwitchTheFaceListAndTheFace() {
        FontsDialog dialog(*store_, FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
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
        QCOMPARE(dialog.preview(FontRow::English)->font().family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(!dialog.choice().englishDefault);

        // Ticking it again goes back to the menu font's face.
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QVERIFY(!dialog.faceList(FontRow::English)->isEnabled());
        QCOMPARE(dialog.preview(FontRow::English)->font().family(), kMenuFace);
        QCOMPARE(dialog.faceList(FontRow::English)->currentText(), kMenuFace);

        dialog.accept();
        QCOMPARE(Read("EDefault"), QStringLiteral("1"));
        QCOMPARE(Read("EFont"), kMenuFace);
    }

    void controlsCarryTheirFixedContents() {
        FontsDialog dialog(*store_, FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        const QStringList sizes = {QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"),
                                   QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13")};
        for (int row = 0; row < kFontRows; ++row) {
            QCOMPARE(Items(dialog.sizeList(static_cast<FontRow>(row))), sizes);
        }
        QCOMPARE(Items(dialog.faceList(FontRow::Pinyin)), QStringList{QStringLiteral("Oxapinyin basic")});
        QVERIFY(!dialog.faceList(FontRow::Pinyin)->isEnabled());
        QCOMPARE(dialog.preview(FontRow::Pinyin)->font().family(), QStringLiteral("Oxapinyin basic"));
        // The Pinyin preview is written in the private font's codes.
        QCOMPARE(dialog.preview(FontRow::Pinyin)->text(), MarkPinyinFont(u"xue2 xi2 zhong1 wen2"));
        QCOMPARE(dialog.preview(FontRow::Simplified)->text(), QStringLiteral("学习中文"));
        QCOMPARE(dialog.preview(FontRow::Traditional)->text(), QStringLiteral("學習中文"));
        QVERIFY(dialog.noteLabel()->font().bold());
        QVERIFY(dialog.noteLabel()->font().italic());

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
            QVERIFY2(dialog.rect().contains(child->geometry()), qPrintable(child->metaObject()->className()));
        }
    }

    void aStoreThatCannotBeWrittenIsReported() {
        const QString blocker = dir_.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SettingsStore unwritable(blocker + QStringLiteral("/settings.ini"));

        FontsDialog first(unwritable, FontsDialogMode::FirstRun, Setup(WindowsLikeFonts()));
        QCOMPARE(reporter_.messages, QStringList{QStringLiteral("Cannot save the font settings.")});

        FontsDialog dialog(unwritable, FontsDialogMode::Normal, Setup(WindowsLikeFonts()));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(reporter_.messages.size(), 2);
    }
};

QTEST_MAIN(FontsDialogTest)
#include "FontsDialogTest.moc"
