#pragma once
// The choice of the display fonts, free of widgets: the installed faces as
// plain lists, the automatic choice of the first run, and the settings that
// a confirmed choice writes ("SFont", "TFont", "EFont", "JFont", the sizes
// and the two Default flags).
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillory {

class SettingsStore;

// One installed Chinese face under one character set (GB2312 or Big5); a
// face that covers both appears once for each.
struct FontEntry {
    QString face;
    int charset = 0;

    friend bool operator==(const FontEntry&, const FontEntry&) = default;
};

struct InstalledFonts {
    QList<FontEntry> chinese; // GB2312 entries first, then Big5 entries
    QStringList other;        // Latin faces, each once
};

// Vertical variants of a face are named with a leading "@"; no list offers them.
bool IsVerticalFace(const QString& face);

// The installed faces from the families of each writing system, without
// vertical faces, empty names and the program's private Pinyin face.
InstalledFonts MakeInstalledFonts(const QStringList& simplified, const QStringList& traditional,
                                  const QStringList& latin);

// The names of the entries, each once, sorted as the lists show them
// (case-insensitive).
QStringList SortedFaceNames(const QList<FontEntry>& entries);
QStringList SortedFaceNames(QStringList faces);

// The character set a chosen face is stored with: preferred when one of the
// face's entries has it, otherwise the set of its last entry; fallback for a
// face that is not installed.
int CharsetOfFace(const QList<FontEntry>& chinese, const QString& face, int preferred, int fallback);

// "SFont": "b" for a Big5 face, "g" otherwise. "TFont": "g" for a GB2312
// face, "b" otherwise. The letter is followed by the face name.
QString SimplifiedFontValue(int charset, const QString& face);
QString TraditionalFontValue(int charset, const QString& face);

// The faces the first run accepts without asking, best first: SimSun and
// MingLiu, then the free faces that Linux desktops commonly install.
const QStringList& SimplifiedFirstRunFaces();
const QStringList& TraditionalFirstRunFaces();

// The first entry of chinese whose face is one of candidates, trying the
// candidates in order; names match case-insensitively, also with a foundry
// suffix (" [foundry]") that the font database adds to tell faces apart.
std::optional<QString> FindFirstRunFace(const QList<FontEntry>& chinese, const QStringList& candidates);

struct FirstRunChoice {
    std::optional<QString> simplifiedFace;
    int simplifiedCharset = 134;
    std::optional<QString> traditionalFace;
    int traditionalCharset = 136;

    bool complete() const { return simplifiedFace.has_value() && traditionalFace.has_value(); }
};

FirstRunChoice ChooseFirstRunFonts(const QList<FontEntry>& chinese);

// Writes "SFont" and "TFont" for the faces that were found; false when a
// value could not be stored.
bool WriteFirstRunChoice(SettingsStore& settings, const FirstRunChoice& choice);

// What the fonts dialog holds and its OK button stores.
struct FontsChoice {
    QString simplifiedFace;
    int simplifiedCharset = 134;
    QString traditionalFace;
    int traditionalCharset = 136;
    QString englishFace;
    QString jyutpingFace;
    int simplifiedSize = 11;
    int traditionalSize = 11;
    int englishSize = 10;
    int pinyinSize = 10;
    int jyutpingSize = 10;
    bool englishDefault = true;
    bool jyutpingDefault = true;
};

// Each Default flag is set unless its setting reads "0".
void ReadDefaultFlags(const SettingsStore& settings, FontsChoice& choice);

// The stored choice as the dialog shows it: the Default flags, the faces
// (the menu font's face for an English or Jyutping font left to the
// default), and the sizes. The character sets come from the installed
// entries of the stored faces, or from the stored letter for a face that is
// not installed.
FontsChoice LoadFontsChoice(const SettingsStore& settings, const QString& menuFace,
                            const QList<FontEntry>& chinese);

// Stores the choice: faces that are not empty, the five sizes in "%x" form
// and the Default flags as "1" or "0". False when any value could not be stored.
bool WriteFontsChoice(SettingsStore& settings, const FontsChoice& choice);

} // namespace quillory
