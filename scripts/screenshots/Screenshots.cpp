// Pictures of the windows for people to look at, made on demand (not a
// test): the main window in every interface language, the fonts dialog and
// a contact sheet of every drawn image. Usage: quillory-screenshots DIR.
#include "app/window/MainWindow.h"
#include "browser/ExplainWin.h"
#include "browser/LinkScheme.h"
#include "controls/ButtonImages.h"
#include "controls/FlatButton.h"
#include "controls/SearchComboBox.h"
#include "controls/SuggestionList.h"
#include "controls/tree/CategoryTree.h"
#include "dictionary/text/Romanisation.h"
#include "lessons/editor/LessonEditor.h"
#include "settings/SettingsStore.h"
#include "stroke/fonts/FontsDialog.h"
#include "stroke/player/StrokePlayer.h"
#include "tests/support/PageBody.h"
#include "tools/converter/ConverterWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace quillory;

namespace {

// Every image at ratio 1 (left) and 2 (right), masks white on a dark face,
// enlarged so that pixels can be seen; then the icons and a few buttons.
QImage ContactSheet() {
    const int cell = 72;
    const std::vector<int>& ids = DrawnImageIds();
    QImage sheet(QSize(8 * cell * 2, (int(ids.size()) / 8 + 4) * cell), QImage::Format_ARGB32);
    sheet.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&sheet);
    int index = 0;
    for (int id : ids) {
        const QPoint origin((index % 8) * cell * 2, (index / 8) * cell);
        painter.fillRect(QRect(origin, QSize(2 * cell - 2, cell - 2)), QColor(0x3b, 0x42, 0x50));
        for (int ratio = 1; ratio <= 2; ++ratio) {
            QImage image = DrawImage(id, ratio);
            if (KindOfImage(id) == ImageKind::Mask) {
                image = TintMask(image, Qt::white);
            }
            image.setDevicePixelRatio(1.0);
            const int zoom = std::max(1, std::min(48 / std::max(1, image.height()), 60 / image.width()));
            painter.drawImage(QRect(origin + QPoint((ratio - 1) * cell + 4, 14), image.size() * zoom), image);
        }
        painter.setPen(Qt::white);
        painter.drawText(origin + QPoint(4, 11), QString::number(id));
        ++index;
    }
    int x = 4;
    const int iconRow = (int(ids.size()) / 8 + 1) * cell;
    for (int side : {16, 24, 32, 48, 64}) {
        for (int id : {image::kProgramIcon, image::kIconFrame2, image::kIconFrame3, image::kIconFrame4}) {
            painter.drawPixmap(x, iconRow, ImageIcon(id).pixmap(side, side));
            x += side + 4;
        }
    }
    return sheet;
}

} // namespace

int main(int argc, char* argv[]) {
    RegisterLinkScheme();
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: quillory-screenshots DIR [DATA]\n";
        return 2;
    }
    const QDir out(arguments[1]);
    out.mkpath(QStringLiteral("."));
    const QString data = arguments.size() > 2 ? arguments[2] : QStringLiteral(QUILLORY_DATA_DIR);

    bool saved = ContactSheet().save(out.filePath(QStringLiteral("controls-contact-sheet.png")));

    // Settings of this run only: the user's own are left alone.
    QTemporaryDir settingsFolder;
    SettingsStore settings(settingsFolder.filePath(QStringLiteral("settings.ini")));

    MainWindowEnvironment environment;
    environment.dataFolder = data;
    environment.settings = &settings;
    environment.openUrl = [](const QUrl&) { return true; };
    MainWindow window(environment);
    if (!window.Initialise()) {
        return 1;
    }
    window.ShowYourself();
    saved &=
        QTest::qWaitForWindowExposed(&window) &&
        QTest::qWaitFor([&] { return window.view()->PageName() == QLatin1String(kIndexPageName); }, 20000);
    // The lesson branches open, so the pictures show the lessons in each language.
    for (const std::uint32_t category :
         {std::uint32_t(kLessonsCategory), LessonCategoryData(LessonFormat::Oxa),
          LessonCategoryData(LessonFormat::Html)}) {
        if (QTreeWidgetItem* item = window.tree()->FindItemByData(category)) {
            item->setExpanded(true);
        }
    }
    // A character page, so the pictures show the labels of a result page too.
    window.PostRequest(ProtocolRequest{0, 0x4E2D, std::nullopt});
    saved &= QTest::qWaitFor(
        [&] { return window.searchState().history.entry(0).text == QStringLiteral("中"); }, 20000);
    for (const InterfaceLanguage language : kInterfaceLanguages) {
        window.SetLanguage(language);
        // The page is built again in the new language; give the engine time to paint it.
        QTest::qWait(1500);
        saved &= window.grab().save(out.filePath(QStringLiteral("main-window-%1.png").arg(int(language))));
    }
    // Romanised searches (readings above English) and the suggestion list
    // while typing, in English and in simplified Chinese.
    for (const InterfaceLanguage language : {kEnglish, kJianti}) {
        window.SetLanguage(language);
        for (const QString& query : {QStringLiteral("zhongwen"), QStringLiteral("fan"), QStringLiteral("ma"),
                                     QStringLiteral("nei5 hou2"), QStringLiteral("bank")}) {
            window.searchBox()->setEditText(query);
            window.button(kButtonGo)->click();
            saved &=
                QTest::qWaitFor([&] { return window.searchState().history.entry(0).text == query; }, 20000);
            QTest::qWait(1500);
            QString name = query;
            name.replace(u' ', u'_');
            saved &= window.grab().save(
                out.filePath(QStringLiteral("search-%1-%2.png").arg(name).arg(int(language))));
        }
        SearchComboBox* box = window.searchBox();
        window.activateWindow();
        box->setFocus();
        for (const QString& typed :
             {QStringLiteral("zhong"), QStringLiteral("nei5"), QStringLiteral("wat")}) {
            box->lineEdit()->clear();
            QTest::keyClicks(box, typed);
            saved &= QTest::qWaitFor([&] { return box->suggestionList()->isVisible(); }, 10000);
            QTest::keyClick(box, Qt::Key_Down);
            QTest::qWait(500);
            // The list is a window of its own: the picture is of the screen.
            const QRect area = window.frameGeometry();
            saved &=
                window.screen()
                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height() / 2)
                    .save(out.filePath(QStringLiteral("suggest-%1-%2.png").arg(typed).arg(int(language))));
            QTest::keyClick(box, Qt::Key_Escape);
        }
        box->lineEdit()->clear();
    }
    // The largest lists, plain text whose characters open on a click, with
    // the one under the pointer marked, in English and traditional Chinese.
    const struct {
        std::uint8_t command;
        std::uint32_t value;
        const char* name;
    } lists[] = {{kListPinyin, EncodeSyllable("yi1", Scheme::Pinyin).value_or(0), "yi"},
                 {kListRadical, 85, "radical-85"}};
    for (const InterfaceLanguage language : {kEnglish, kFanti}) {
        window.SetLanguage(language);
        for (const auto& list : lists) {
            window.PostRequest(ProtocolRequest{list.command, list.value, std::nullopt});
            saved &= QTest::qWaitFor(
                [&] { return window.searchState().history.entry(0).command == list.command; }, 20000);
            QTest::qWait(1500);
            if (const std::optional<QPoint> at = testing::TextCentre(
                    window.view()->page(), QStringLiteral(".chars"), QStringLiteral("\u4F0A"))) {
                QTest::mouseMove(window.view()->focusProxy(), *at);
                QTest::qWait(500);
            }
            saved &= window.grab().save(out.filePath(
                QStringLiteral("list-%1-%2.png").arg(QLatin1String(list.name)).arg(int(language))));
        }
    }
    // The Converter with converted text, in English (to Pinyin) and in
    // simplified Chinese (to Taiwan's traditional forms).
    const struct {
        InterfaceLanguage language;
        TextKind lower;
        int variant;
    } converterShots[] = {{kEnglish, TextKind::Pinyin, 0}, {kJianti, TextKind::Big5, 1}};
    for (const auto& shot : converterShots) {
        window.SetLanguage(shot.language);
        window.ShowConverter();
        ConverterWindow* converter = window.converter();
        saved &= QTest::qWaitForWindowExposed(converter);
        converter->ChooseKind(ConverterBox::Lower, shot.lower);
        converter->variantChoice(ConverterBox::Lower)->setCurrentIndex(shot.variant);
        converter->textBox(ConverterBox::Upper)
            ->setPlainText(QStringLiteral(
                "我去银行取钱，路上有很多行人。\n孩子长大了，想去看长城。\n头发 发展 干燥 后面"));
        QSignalSpy finished(converter, &ConverterWindow::conversionFinished);
        converter->ConvertDown();
        saved &= finished.wait(60000);
        saved &=
            converter->grab().save(out.filePath(QStringLiteral("converter-%1.png").arg(int(shot.language))));
    }
    // The stroke player over a character page, in the middle of playing, in
    // two interface languages; beside each window picture the player
    // enlarged three times.
    for (const InterfaceLanguage language : {kEnglish, kFanti}) {
        window.SetLanguage(language);
        for (const std::uint32_t code : {0x6C38u, 0x4E2Du}) {
            window.PostRequest(ProtocolRequest{0, code, std::nullopt});
            window.PostRequest(ProtocolRequest{5, code, std::nullopt});
            saved &= QTest::qWaitFor([&] { return window.strokePlayer()->isVisible(); }, 20000);
            // Past the first pause and well into the strokes.
            QTest::qWait(3000);
            const QString name = QStringLiteral("stroke-player-%1-%2").arg(code, 0, 16).arg(int(language));
            saved &= window.grab().save(out.filePath(name + QStringLiteral(".png")));
            const QImage player = window.strokePlayer()->grab().toImage();
            saved &= player.scaled(player.size() * 3).save(out.filePath(name + QStringLiteral("-zoom.png")));
        }
    }
    // The Lesson Editor on a shipped lesson's second section, in English and
    // in simplified Chinese.
    for (const InterfaceLanguage language : {kEnglish, kJianti}) {
        window.SetLanguage(language);
        window.ShowLessonEditor(1);
        LessonEditor* editor = window.lessonEditor();
        saved &= QTest::qWaitForWindowExposed(editor);
        editor->GoTo(4);
        saved &= editor->grab().save(out.filePath(QStringLiteral("lesson-editor-%1.png").arg(int(language))));
        editor->hide();
    }
    // After the window's start: the private Pinyin font and the chosen faces are there.
    {
        FontsDialog fonts(settings, FontsDialogMode::Normal, SystemFontsSetup());
        fonts.show();
        saved &= QTest::qWaitForWindowExposed(&fonts);
        saved &= fonts.grab().save(out.filePath(QStringLiteral("fonts-dialog.png")));
    }
    // No Exit action: it would save this run's history over the user's.
    return saved ? 0 : 1;
}
