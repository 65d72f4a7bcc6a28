#include "settings/DisplayFontRules.h"

#include "settings/SettingsStore.h"

#include <cstdint>
#include <optional>

namespace quillory {
namespace {

int SizeOf(const SettingsStore& settings, const QString& name, int fallback) {
    int size = fallback;
    settings.ReadSizeSetting(name, size);
    return size;
}

// A user-chosen face applies only when its Default flag reads "0".
std::optional<QString> ChosenFace(const SettingsStore& settings, const QString& defaultFlag,
                                  const QString& faceName) {
    if (settings.ReadSetting(defaultFlag) != QStringLiteral("0")) {
        return std::nullopt;
    }
    const auto face = settings.ReadSetting(faceName);
    if (!face || face->isEmpty()) {
        return std::nullopt;
    }
    return face;
}

// "SFont"/"TFont": a character-set letter ("g" GB2312, "b" Big5) and the face.
// A value shorter than 3 characters counts as missing.
QString ChineseFontValue(const SettingsStore& settings, const QString& name, const QString& fallback) {
    const auto value = settings.ReadSetting(name);
    if (!value || value->size() < 3) {
        return fallback;
    }
    return *value;
}

DisplayFontSpec EnglishFont(const SettingsStore& settings) {
    const auto face = ChosenFace(settings, QStringLiteral("EDefault"), QStringLiteral("EFont"));
    return {face.value_or(QString()), !face.has_value(), SizeOf(settings, QStringLiteral("ESize"), 10),
            kAnsiCharset, QStringLiteral("en")};
}

DisplayFontSpec PinyinFont(const SettingsStore& settings) {
    return {QString::fromLatin1(kPinyinFontFace), false, SizeOf(settings, QStringLiteral("PSize"), 10),
            kDefaultCharset, QStringLiteral("py")};
}

DisplayFontSpec JiantiFont(const SettingsStore& settings) {
    const QString value = ChineseFontValue(settings, QStringLiteral("SFont"), QStringLiteral("gSimSun"));
    return {value.mid(1), false, SizeOf(settings, QStringLiteral("SSize"), 11),
            value.startsWith(u'b') ? kBig5Charset : kGb2312Charset, QStringLiteral("gb")};
}

DisplayFontSpec FantiFont(const SettingsStore& settings, const QString& kind) {
    const QString value = ChineseFontValue(settings, QStringLiteral("TFont"), QStringLiteral("gMingLiu"));
    return {value.mid(1), false, SizeOf(settings, QStringLiteral("TSize"), 11),
            value.startsWith(u'g') ? kGb2312Charset : kBig5Charset, kind};
}

DisplayFontSpec JyutpingFont(const SettingsStore& settings) {
    const auto face = ChosenFace(settings, QStringLiteral("JDefault"), QStringLiteral("JFont"));
    return {face.value_or(QString::fromLatin1(kPinyinFontFace)), false,
            SizeOf(settings, QStringLiteral("JSize"), 10), kAnsiCharset, QStringLiteral("jp")};
}

} // namespace

DisplayFontSpec DisplayFontForSlot(FontSlot slot, const SettingsStore& settings) {
    switch (slot) {
    case FontSlot::Pinyin:
        return PinyinFont(settings);
    case FontSlot::Jianti:
        return JiantiFont(settings);
    case FontSlot::Fanti:
        return FantiFont(settings, QStringLiteral("b5"));
    case FontSlot::Jyutping:
        return JyutpingFont(settings);
    case FontSlot::Fanti2:
        return FantiFont(settings, QString());
    case FontSlot::English:
        break;
    }
    return EnglishFont(settings);
}

int PointsToPixels(int points, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(points) * dpi;
    const std::int64_t half = product >= 0 ? 36 : -36;
    return static_cast<int>((product + half) / 72);
}

} // namespace quillory
