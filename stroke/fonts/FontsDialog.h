#pragma once
// "Quillory: Choose Fonts": the simplified and traditional Chinese faces,
// the English and Jyutping faces and the five sizes, each with a preview.
// OK stores the choice in the settings; nothing else is written, except
// "SFont" and "TFont" by the set-up of the first run.
#include "controls/UrlOpener.h"
#include "stroke/fonts/FontChoice.h"

#include <QDialog>
#include <QFont>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quillory {

class HyperlinkLabel;
class MessageReporter;
class SettingsStore;

enum class FontsDialogMode {
    FirstRun, // an Exit button: leaving the dialog without OK ends the program
    Normal,   // a Cancel button
};

// The rows of the dialog, top to bottom.
enum class FontRow { Simplified = 0, Traditional, English, Pinyin, Jyutping };
inline constexpr int kFontRows = 5;

// What the dialog needs from its surroundings; the system's values by
// default, plain lists in tests.
struct FontsDialogSetup {
    InstalledFonts fonts;
    QString menuFace;                         // face of the system's menu font
    UrlOpener urlOpener = DesktopUrlOpener(); // opens the page on installing fonts
    MessageReporter* reporter = nullptr;      // told when the choice cannot be stored
};

// The installed faces from the font database and the system's menu face.
FontsDialogSetup SystemFontsSetup(MessageReporter* reporter = nullptr);

class FontsDialog : public QDialog {
    Q_OBJECT
public:
    // In first-run mode the set-up runs at once; see setUpComplete().
    FontsDialog(SettingsStore& settings, FontsDialogMode mode, FontsDialogSetup setup,
                QWidget* parent = nullptr);

    // First run: suitable Chinese faces were found and stored, so the
    // dialog need not be shown.
    bool setUpComplete() const { return setUpComplete_; }

    const FontsChoice& choice() const { return choice_; }

    QComboBox* faceList(FontRow row) const;
    QComboBox* sizeList(FontRow row) const;
    QLabel* preview(FontRow row) const;
    // Only the English and Jyutping rows have one; nullptr for the others.
    QCheckBox* defaultBox(FontRow row) const;
    QPushButton* okButton() const { return okButton_; }
    QPushButton* exitButton() const { return exitButton_; }
    HyperlinkLabel* link() const { return link_; }
    QLabel* noteLabel() const { return noteLabel_; }

public slots:
    // Stores the choice, then closes with OK.
    void accept() override;

private:
    struct Row {
        QLabel* title = nullptr;
        QComboBox* faces = nullptr;
        QLabel* sizeTitle = nullptr;
        QComboBox* sizes = nullptr;
        QLabel* previewTitle = nullptr;
        QLabel* preview = nullptr;
        QCheckBox* useDefault = nullptr;
    };

    void createControls();
    void layOut();
    void fillFaces(FontRow row, const QStringList& faces);
    bool runFirstRunSetUp();
    void loadSettings();
    void showPreview(FontRow row);
    void faceOrSizeChosen(FontRow row);
    void defaultToggled(FontRow row, bool checked);
    void openFontsPage();

    QString& faceOf(FontRow row);
    int& sizeOf(FontRow row);
    Row& row(FontRow which) { return rows_[static_cast<std::size_t>(which)]; }
    const Row& row(FontRow which) const { return rows_[static_cast<std::size_t>(which)]; }

    SettingsStore& settings_;
    FontsDialogMode mode_;
    FontsDialogSetup setup_;
    FontsChoice choice_;
    QString pinyinFace_;
    QFont menuFont_;
    std::array<Row, kFontRows> rows_{};
    HyperlinkLabel* link_ = nullptr;
    QLabel* noteLabel_ = nullptr;
    QLabel* noteLine1_ = nullptr;
    QLabel* noteLine2_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    bool setUpComplete_ = false;
    bool updating_ = false; // controls are being set from the choice, not by the user
};

// Start-up: when "SFont" or "TFont" is missing, stores suitable installed
// faces without asking, or else asks with the dialog in first-run mode.
// False when the user chose Exit: the program then ends.
bool EnsureChineseFonts(SettingsStore& settings, QWidget* parent, MessageReporter* reporter = nullptr);
bool EnsureChineseFonts(SettingsStore& settings, QWidget* parent, FontsDialogSetup setup);

// Options > Chinese Fonts: true when the user pressed OK, after which the
// display fonts are to be rebuilt.
bool RunFontsDialog(SettingsStore& settings, QWidget* parent, MessageReporter* reporter = nullptr);
bool RunFontsDialog(SettingsStore& settings, QWidget* parent, FontsDialogSetup setup);

} // namespace quillory
