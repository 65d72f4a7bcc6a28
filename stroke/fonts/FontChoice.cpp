#include "stroke/fonts/FontChoice.h"

#include "settings/DisplayFontRules.h"
#include "settings/SettingsStore.h"

namespace quillory {
namespace {

// Faces a list may offer: not empty, not vertical, and not the program's own
// Pinyin face, which only shows Pinyin in its private letter codes.
bool IsOfferedFace(const QString& face) {
    return !face.isEmpty() && !IsVerticalFace(face) &&
           face.compare(QLatin1String(kPinyinFontFace), Qt::CaseInsensitive) != 0;
}

void AddEntries(QList<FontEntry>& entries, const QStringList& faces, int charset) {
    for (const QString& face : faces) {
        if (IsOfferedFace(face)) {
            entries.append({face, charset});
        }
    }
}

bool SameFace(const QString& installed, const QString& wanted) {
    if (installed.compare(wanted, Qt::CaseInsensitive) == 0) {
        return true;
    }
    // "WenQuanYi Zen Hei [wqy]": the database names the foundry when two
    // foundries ship the same family.
    return installed.size() > wanted.size() + 2 && installed.startsWith(wanted, Qt::CaseInsensitive) &&
           installed.mid(wanted.size()).startsWith(QStringLiteral(" [")) && installed.endsWith(u']');
}

// A stored "SFont"/"TFont" value; shorter than 3 characters counts as the default.
QString StoredChineseFont(const std::optional<QString>& value, const QString& fallback) {
    return value->size() < 3 ? fallback : *value;
}

QString ChosenFace(const SettingsStore& settings, bool useDefault, const QString& name,
                   const QString& menuFace) {
    if (useDefault) {
        return menuFace;
    }
    const auto face = settings.ReadSetting(name);
    return face && !face->isEmpty() ? *face : menuFace;
}

} // namespace

bool IsVerticalFace(const QString& face) {
    return face.startsWith(u'@');
}

InstalledFonts MakeInstalledFonts(const QStringList& simplified, const QStringList& traditional,
                                  const QStringList& latin) {
    InstalledFonts fonts;
    AddEntries(fonts.chinese, simplified, kGb2312Charset);
    AddEntries(fonts.chinese, traditional, kBig5Charset);
    for (const QString& face : latin) {
        if (IsOfferedFace(face)) {
            fonts.other.append(face);
        }
    }
    fonts.other.removeDuplicates();
    return fonts;
}

QStringList SortedFaceNames(const QList<FontEntry>& entries) {
    QStringList faces;
    faces.reserve(entries.size());
    for (const FontEntry& entry : entries) {
        faces.append(entry.face);
    }
    return SortedFaceNames(std::move(faces));
}

QStringList SortedFaceNames(QStringList faces) {
    faces.removeDuplicates();
    faces.sort(Qt::CaseInsensitive);
    return faces;
}

int CharsetOfFace(const QList<FontEntry>& chinese, const QString& face, int preferred, int fallback) {
    std::optional<int> last;
    for (const FontEntry& entry : chinese) {
        if (entry.face.compare(face, Qt::CaseInsensitive) != 0) {
            continue;
        }
        if (entry.charset == preferred) {
            return preferred;
        }
        last = entry.charset;
    }
    return last.value_or(fallback);
}

QString SimplifiedFontValue(int charset, const QString& face) {
    return (charset == kBig5Charset ? QStringLiteral("b") : QStringLiteral("g")) + face;
}

QString TraditionalFontValue(int charset, const QString& face) {
    return (charset == kGb2312Charset ? QStringLiteral("g") : QStringLiteral("b")) + face;
}

const QStringList& SimplifiedFirstRunFaces() {
    static const QStringList faces = {
        QStringLiteral("SimSun"),
        QStringLiteral("AR PL UMing CN"),
        QStringLiteral("Noto Serif CJK SC"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Droid Sans Fallback"),
    };
    return faces;
}

const QStringList& TraditionalFirstRunFaces() {
    static const QStringList faces = {
        QStringLiteral("MingLiu"),
        QStringLiteral("AR PL UMing TW"),
        QStringLiteral("Noto Serif CJK TC"),
        QStringLiteral("Noto Sans CJK TC"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Droid Sans Fallback"),
    };
    return faces;
}

std::optional<QString> FindFirstRunFace(const QList<FontEntry>& chinese, const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        for (const FontEntry& entry : chinese) {
            if (SameFace(entry.face, candidate)) {
                return entry.face;
            }
        }
    }
    return std::nullopt;
}

FirstRunChoice ChooseFirstRunFonts(const QList<FontEntry>& chinese) {
    FirstRunChoice choice;
    // A face covering both sets is stored under the set its slot wants, so
    // that the traditional font of such a face is kept as Big5.
    choice.simplifiedFace = FindFirstRunFace(chinese, SimplifiedFirstRunFaces());
    if (choice.simplifiedFace) {
        choice.simplifiedCharset =
            CharsetOfFace(chinese, *choice.simplifiedFace, kGb2312Charset, kGb2312Charset);
    }
    choice.traditionalFace = FindFirstRunFace(chinese, TraditionalFirstRunFaces());
    if (choice.traditionalFace) {
        choice.traditionalCharset =
            CharsetOfFace(chinese, *choice.traditionalFace, kBig5Charset, kBig5Charset);
    }
    return choice;
}

bool WriteFirstRunChoice(SettingsStore& settings, const FirstRunChoice& choice) {
    bool stored = true;
    if (choice.simplifiedFace) {
        stored &= settings.WriteSetting(
            QStringLiteral("SFont"), SimplifiedFontValue(choice.simplifiedCharset, *choice.simplifiedFace));
    }
    if (choice.traditionalFace) {
        stored &=
            settings.WriteSetting(QStringLiteral("TFont"),
                                  TraditionalFontValue(choice.traditionalCharset, *choice.traditionalFace));
    }
    return stored;
}

void ReadDefaultFlags(const SettingsStore& settings, FontsChoice& choice) {
    choice.englishDefault = settings.ReadSetting(QStringLiteral("EDefault")) != QStringLiteral("0");
    choice.jyutpingDefault = settings.ReadSetting(QStringLiteral("JDefault")) != QStringLiteral("0");
}

FontsChoice LoadFontsChoice(const SettingsStore& settings, const QString& menuFace,
                            const QList<FontEntry>& chinese) {
    FontsChoice choice;
    ReadDefaultFlags(settings, choice);
    choice.englishFace = ChosenFace(settings, choice.englishDefault, QStringLiteral("EFont"), menuFace);
    choice.jyutpingFace = ChosenFace(settings, choice.jyutpingDefault, QStringLiteral("JFont"), menuFace);

    if (const auto stored = settings.ReadSetting(QStringLiteral("SFont"))) {
        const QString value = StoredChineseFont(stored, QStringLiteral("gSimSun"));
        choice.simplifiedFace = value.mid(1);
        // A face that is not installed keeps the set its letter names.
        const int letterSet = value.startsWith(u'b') ? kBig5Charset : kGb2312Charset;
        choice.simplifiedCharset = CharsetOfFace(chinese, choice.simplifiedFace, kGb2312Charset, letterSet);
        settings.ReadSizeSetting(QStringLiteral("SSize"), choice.simplifiedSize);
    }
    if (const auto stored = settings.ReadSetting(QStringLiteral("TFont"))) {
        const QString value = StoredChineseFont(stored, QStringLiteral("gMingLiu"));
        choice.traditionalFace = value.mid(1);
        const int letterSet = value.startsWith(u'g') ? kGb2312Charset : kBig5Charset;
        choice.traditionalCharset = CharsetOfFace(chinese, choice.traditionalFace, kBig5Charset, letterSet);
        settings.ReadSizeSetting(QStringLiteral("TSize"), choice.traditionalSize);
    }
    settings.ReadSizeSetting(QStringLiteral("ESize"), choice.englishSize);
    settings.ReadSizeSetting(QStringLiteral("JSize"), choice.jyutpingSize);
    settings.ReadSizeSetting(QStringLiteral("PSize"), choice.pinyinSize);
    return choice;
}

bool WriteFontsChoice(SettingsStore& settings, const FontsChoice& choice) {
    bool stored = true;
    auto write = [&](const char* name, const QString& value) {
        stored &= settings.WriteSetting(QString::fromLatin1(name), value);
    };
    auto writeSize = [&](const char* name, int size) {
        stored &= settings.WriteSizeSetting(QString::fromLatin1(name), size);
    };
    if (!choice.simplifiedFace.isEmpty()) {
        write("SFont", SimplifiedFontValue(choice.simplifiedCharset, choice.simplifiedFace));
    }
    if (!choice.traditionalFace.isEmpty()) {
        write("TFont", TraditionalFontValue(choice.traditionalCharset, choice.traditionalFace));
    }
    if (!choice.englishFace.isEmpty()) {
        write("EFont", choice.englishFace);
    }
    if (!choice.jyutpingFace.isEmpty()) {
        write("JFont", choice.jyutpingFace);
    }
    writeSize("SSize", choice.simplifiedSize);
    writeSize("TSize", choice.traditionalSize);
    writeSize("ESize", choice.englishSize);
    writeSize("PSize", choice.pinyinSize);
    writeSize("JSize", choice.jyutpingSize);
    write("EDefault", choice.englishDefault ? QStringLiteral("1") : QStringLiteral("0"));
    write("JDefault", choice.jyutpingDefault ? QStringLiteral("1") : QStringLiteral("0"));
    return stored;
}

} // namespace quillory
