#include "stroke/fonts/FontsDialog.h"

#include "settings/ProductInfo.h"

#include "controls/DialogLayout.h"
#include "controls/HyperlinkLabel.h"
#include "dictionary/text/MessageReporter.h"
#include "settings/ControlIds.h"
#include "settings/DisplayFontRules.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>

namespace quillory {
namespace {

constexpr int kDialogWidth = 328;
constexpr int kDialogHeight = 228;
constexpr char kSaveFailed[] = "Cannot save the font settings.";

const char* const kRowTitles[kFontRows] = {"Simplified Chinese Font:", "Traditional Chinese Font:",
                                           "English Font:", "Pinyin Font:", "Jyutping Font:"};

// xue2 xi2 zhong1 wen2 in the codes of the private Pinyin font.
const QString kPinyinPreview = QStringLiteral("xu") + QChar(0x00C5) + QStringLiteral(" x") + QChar(0x00C9) +
                               QStringLiteral(" zh") + QChar(0x00CC) + QStringLiteral("ng w") +
                               QChar(0x00C5) + QStringLiteral("n");

QString PreviewText(FontRow row) {
    switch (row) {
    case FontRow::Simplified:
        return QStringLiteral("学习中文");
    case FontRow::Traditional:
        return QStringLiteral("學習中文");
    case FontRow::English:
        return QStringLiteral("Learn Chinese");
    case FontRow::Pinyin:
        return kPinyinPreview;
    case FontRow::Jyutping:
        return QStringLiteral("hok6 zaap6 zung1 man4");
    }
    return {};
}

bool HasDefaultBox(FontRow row) {
    return row == FontRow::English || row == FontRow::Jyutping;
}

constexpr FontRow kAllRows[] = {FontRow::Simplified, FontRow::Traditional, FontRow::English, FontRow::Pinyin,
                                FontRow::Jyutping};

} // namespace

FontsDialogSetup SystemFontsSetup(MessageReporter* reporter) {
    auto families = [](QFontDatabase::WritingSystem system) {
        QStringList faces = QFontDatabase::families(system);
        faces.removeIf([](const QString& face) { return QFontDatabase::isPrivateFamily(face); });
        return faces;
    };
    FontsDialogSetup setup;
    setup.fonts =
        MakeInstalledFonts(families(QFontDatabase::SimplifiedChinese),
                           families(QFontDatabase::TraditionalChinese), families(QFontDatabase::Latin));
    setup.menuFace = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    setup.reporter = reporter;
    return setup;
}

FontsDialog::FontsDialog(SettingsStore& settings, FontsDialogMode mode, FontsDialogSetup setup,
                         QWidget* parent)
    : QDialog(parent), settings_(settings), mode_(mode), setup_(std::move(setup)),
      pinyinFace_(QString::fromLatin1(kPinyinFontFace)),
      menuFont_(QFontDatabase::systemFont(QFontDatabase::GeneralFont)) {
    setWindowTitle(QStringLiteral("Quillory: Choose Fonts"));
    createControls();
    layOut();

    ReadDefaultFlags(settings_, choice_);
    {
        const QScopedValueRollback guard(updating_, true);
        for (const FontRow which : {FontRow::English, FontRow::Jyutping}) {
            const bool useDefault =
                which == FontRow::English ? choice_.englishDefault : choice_.jyutpingDefault;
            row(which).useDefault->setChecked(useDefault);
            row(which).faces->setEnabled(!useDefault);
        }
        for (const FontRow which : kAllRows) {
            row(which).sizes->setCurrentIndex(row(which).sizes->findText(QString::number(sizeOf(which))));
        }
        row(FontRow::Pinyin).faces->addItem(pinyinFace_);
        row(FontRow::Pinyin).faces->setCurrentIndex(0);
    }

    if (mode_ == FontsDialogMode::FirstRun) {
        setUpComplete_ = runFirstRunSetUp();
    } else {
        loadSettings();
        exitButton_->setText(QStringLiteral("Cancel"));
    }
}

void FontsDialog::createControls() {
    for (const FontRow which : kAllRows) {
        Row& r = row(which);
        r.title = new QLabel(QString::fromLatin1(kRowTitles[static_cast<int>(which)]), this);
        r.faces = new QComboBox(this);
        r.sizeTitle = new QLabel(QStringLiteral("Size:"), this);
        r.sizes = new QComboBox(this);
        for (int size = SettingsStore::kMinFontSize; size <= SettingsStore::kMaxFontSize; ++size) {
            r.sizes->addItem(QString::number(size));
        }
        r.previewTitle = new QLabel(QStringLiteral("Preview:"), this);
        r.preview = new QLabel(PreviewText(which), this);
        r.preview->setFrameShape(QFrame::StyledPanel);
        if (HasDefaultBox(which)) {
            r.useDefault = new QCheckBox(QStringLiteral("Default"), this);
            connect(r.useDefault, &QCheckBox::toggled, this,
                    [this, which](bool checked) { defaultToggled(which, checked); });
        }
        connect(r.faces, &QComboBox::currentIndexChanged, this, [this, which] { faceOrSizeChosen(which); });
        connect(r.sizes, &QComboBox::currentIndexChanged, this, [this, which] { faceOrSizeChosen(which); });
    }
    row(FontRow::Pinyin).faces->setEnabled(false);

    link_ = new HyperlinkLabel(this);
    link_->setText(
        QStringLiteral("Click here to learn how to install Simplified and Traditional Chinese fonts."));
    link_->setValue(kFontsPageLink);
    connect(link_, &HyperlinkLabel::linkNotify, this, [this] { openFontsPage(); });

    noteLabel_ = new QLabel(QStringLiteral("NOTE:"), this);
    QFont noteFont = noteLabel_->font();
    noteFont.setWeight(QFont::Bold);
    noteFont.setItalic(true);
    noteLabel_->setFont(noteFont);
    noteLine1_ = new QLabel(
        QStringLiteral("The fonts you choose in this dialog will not affect the font of the"), this);
    noteLine2_ = new QLabel(QStringLiteral("Animated Chinese Characters."), this);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setDefault(true);
    exitButton_ = new QPushButton(QStringLiteral("Exit"), this);
    connect(okButton_, &QPushButton::clicked, this, &FontsDialog::accept);
    connect(exitButton_, &QPushButton::clicked, this, &FontsDialog::reject);
}

// The template's rectangles in dialog units: one row of title, face list,
// size list and preview per font, then the link, the note and the buttons.
void FontsDialog::layOut() {
    const DialogUnits du(font());
    auto place = [&du](QWidget* widget, int left, int top, int width, int height) {
        QRect rect = du.rect({left, top, width, height});
        // Lists and buttons keep at least the height their style needs.
        rect.setHeight(std::max(rect.height(), widget->sizeHint().height()));
        widget->setGeometry(rect);
    };
    for (const FontRow which : kAllRows) {
        const int top = 7 + 29 * static_cast<int>(which);
        Row& r = row(which);
        if (r.useDefault) {
            place(r.title, 7, top, 95, 8);
            place(r.useDefault, 105, top - 1, 45, 10);
        } else {
            place(r.title, 7, top, 140, 8);
        }
        place(r.faces, 7, top + 10, 140, 13);
        place(r.sizeTitle, 154, top, 30, 8);
        place(r.sizes, 154, top + 10, 30, 13);
        place(r.previewTitle, 191, top, 40, 8);
        place(r.preview, 191, top + 9, 130, 15);
    }
    place(link_, 7, 155, 314, 10);
    place(noteLabel_, 7, 170, 28, 8);
    place(noteLine1_, 37, 170, 284, 8);
    place(noteLine2_, 37, 180, 284, 8);
    place(okButton_, 211, 204, 50, 14);
    place(exitButton_, 271, 204, 50, 14);
    const int bottom = exitButton_->geometry().bottom() + du.y(10);
    setFixedSize(du.x(kDialogWidth), std::max(du.y(kDialogHeight), bottom));
}

void FontsDialog::fillFaces(FontRow which, const QStringList& faces) {
    const QScopedValueRollback guard(updating_, true);
    QComboBox* list = row(which).faces;
    list->clear();
    list->addItems(faces);
    list->setCurrentIndex(-1);
}

// Suitable installed faces are stored at once; otherwise the lists are
// filled for the user, with whatever was found already selected.
bool FontsDialog::runFirstRunSetUp() {
    choice_.englishFace = setup_.menuFace;
    choice_.jyutpingFace = setup_.menuFace;
    const QStringList others = SortedFaceNames(setup_.fonts.other);
    fillFaces(FontRow::English, others);
    fillFaces(FontRow::Jyutping, others);
    showPreview(FontRow::English);
    showPreview(FontRow::Pinyin);
    showPreview(FontRow::Jyutping);

    const FirstRunChoice found = ChooseFirstRunFonts(setup_.fonts.chinese);
    if (!WriteFirstRunChoice(settings_, found) && setup_.reporter) {
        setup_.reporter->showMessage(QString::fromLatin1(kSaveFailed));
    }
    if (found.complete()) {
        return true;
    }
    const QStringList chinese = SortedFaceNames(setup_.fonts.chinese);
    fillFaces(FontRow::Simplified, chinese);
    fillFaces(FontRow::Traditional, chinese);
    if (found.simplifiedFace) {
        choice_.simplifiedFace = *found.simplifiedFace;
        choice_.simplifiedCharset = found.simplifiedCharset;
        showPreview(FontRow::Simplified);
    }
    if (found.traditionalFace) {
        choice_.traditionalFace = *found.traditionalFace;
        choice_.traditionalCharset = found.traditionalCharset;
        showPreview(FontRow::Traditional);
    }
    return false;
}

void FontsDialog::loadSettings() {
    choice_ = LoadFontsChoice(settings_, setup_.menuFace, setup_.fonts.chinese);
    const QStringList chinese = SortedFaceNames(setup_.fonts.chinese);
    fillFaces(FontRow::Simplified, chinese);
    fillFaces(FontRow::Traditional, chinese);
    if (!choice_.simplifiedFace.isEmpty()) {
        showPreview(FontRow::Simplified);
    }
    if (!choice_.traditionalFace.isEmpty()) {
        showPreview(FontRow::Traditional);
    }
    const QStringList others = SortedFaceNames(setup_.fonts.other);
    fillFaces(FontRow::English, others);
    fillFaces(FontRow::Jyutping, others);
    showPreview(FontRow::English);
    showPreview(FontRow::Jyutping);
    showPreview(FontRow::Pinyin);
}

QString& FontsDialog::faceOf(FontRow which) {
    switch (which) {
    case FontRow::Simplified:
        return choice_.simplifiedFace;
    case FontRow::Traditional:
        return choice_.traditionalFace;
    case FontRow::English:
        return choice_.englishFace;
    case FontRow::Jyutping:
        return choice_.jyutpingFace;
    case FontRow::Pinyin:
        break;
    }
    return pinyinFace_;
}

int& FontsDialog::sizeOf(FontRow which) {
    switch (which) {
    case FontRow::Simplified:
        return choice_.simplifiedSize;
    case FontRow::Traditional:
        return choice_.traditionalSize;
    case FontRow::English:
        return choice_.englishSize;
    case FontRow::Jyutping:
        return choice_.jyutpingSize;
    case FontRow::Pinyin:
        break;
    }
    return choice_.pinyinSize;
}

// Selects the row's face and size in its lists and shows the preview in that
// font. A face that is not installed is left unselected; the preview still
// asks for it by name.
void FontsDialog::showPreview(FontRow which) {
    const QScopedValueRollback guard(updating_, true);
    Row& r = row(which);
    const QString& face = faceOf(which);
    const int size = sizeOf(which);
    r.sizes->setCurrentIndex(r.sizes->findText(QString::number(size)));
    r.faces->setCurrentIndex(r.faces->findText(face, Qt::MatchFixedString));
    if (which == FontRow::Simplified) {
        choice_.simplifiedCharset =
            CharsetOfFace(setup_.fonts.chinese, face, kGb2312Charset, choice_.simplifiedCharset);
    } else if (which == FontRow::Traditional) {
        choice_.traditionalCharset =
            CharsetOfFace(setup_.fonts.chinese, face, kBig5Charset, choice_.traditionalCharset);
    }
    QFont font = menuFont_;
    if (!face.isEmpty()) {
        font.setFamilies(QStringList{face});
    }
    font.setPixelSize(std::max(1, PointsToPixels(size, logicalDpiY())));
    r.preview->setFont(font);
    r.preview->update();
}

void FontsDialog::faceOrSizeChosen(FontRow which) {
    if (updating_) {
        return;
    }
    const Row& r = row(which);
    if (which != FontRow::Pinyin && r.faces->currentIndex() >= 0) {
        faceOf(which) = r.faces->currentText();
    }
    if (r.sizes->currentIndex() >= 0) {
        sizeOf(which) = r.sizes->currentText().toInt();
    }
    showPreview(which);
}

void FontsDialog::defaultToggled(FontRow which, bool checked) {
    if (updating_) {
        return;
    }
    (which == FontRow::English ? choice_.englishDefault : choice_.jyutpingDefault) = checked;
    row(which).faces->setEnabled(!checked);
    if (checked) {
        faceOf(which) = setup_.menuFace;
        showPreview(which);
    }
}

void FontsDialog::openFontsPage() {
    if (setup_.urlOpener) {
        setup_.urlOpener(QUrl(QString::fromLatin1(kFontsPageAddress)));
    }
}

void FontsDialog::accept() {
    if (!WriteFontsChoice(settings_, choice_) && setup_.reporter) {
        setup_.reporter->showMessage(QString::fromLatin1(kSaveFailed));
    }
    QDialog::accept();
}

QComboBox* FontsDialog::faceList(FontRow which) const {
    return row(which).faces;
}

QComboBox* FontsDialog::sizeList(FontRow which) const {
    return row(which).sizes;
}

QLabel* FontsDialog::preview(FontRow which) const {
    return row(which).preview;
}

QCheckBox* FontsDialog::defaultBox(FontRow which) const {
    return row(which).useDefault;
}

bool EnsureChineseFonts(SettingsStore& settings, QWidget* parent, MessageReporter* reporter) {
    if (settings.ReadSetting(QStringLiteral("SFont")) && settings.ReadSetting(QStringLiteral("TFont"))) {
        return true;
    }
    return EnsureChineseFonts(settings, parent, SystemFontsSetup(reporter));
}

bool EnsureChineseFonts(SettingsStore& settings, QWidget* parent, FontsDialogSetup setup) {
    if (settings.ReadSetting(QStringLiteral("SFont")) && settings.ReadSetting(QStringLiteral("TFont"))) {
        return true;
    }
    FontsDialog dialog(settings, FontsDialogMode::FirstRun, std::move(setup), parent);
    if (dialog.setUpComplete()) {
        return true;
    }
    return dialog.exec() == QDialog::Accepted;
}

bool RunFontsDialog(SettingsStore& settings, QWidget* parent, MessageReporter* reporter) {
    return RunFontsDialog(settings, parent, SystemFontsSetup(reporter));
}

bool RunFontsDialog(SettingsStore& settings, QWidget* parent, FontsDialogSetup setup) {
    FontsDialog dialog(settings, FontsDialogMode::Normal, std::move(setup), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quillory
