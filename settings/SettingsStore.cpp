#include "settings/SettingsStore.h"

#include "dictionary/text/TextRules.h"

#include <QMetaType>
#include <algorithm>
#include <limits>

namespace quillory {
namespace {

const QString kGroup = QStringLiteral("Versions");

QString KeyOf(const QString& name) {
    return kGroup + u'/' + name;
}

} // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Tessaravin"), QStringLiteral("Quillory"))) {}

SettingsStore::SettingsStore(const QString& settingsFile)
    : settings_(std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

std::optional<QString> SettingsStore::ReadSetting(const QString& name) const {
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const QVariant value = settings_->value(KeyOf(name));
    // Only text values count; lists and other types written by hand are ignored.
    if (!value.isValid() || value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value.toString();
}

bool SettingsStore::WriteSetting(const QString& name, const QString& value) {
    if (name.isEmpty() || !settings_->isWritable()) {
        return false;
    }
    settings_->setValue(KeyOf(name), value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

bool SettingsStore::ReadSizeSetting(const QString& name, int& size) const {
    const auto text = ReadSetting(name);
    if (!text) {
        return false;
    }
    size = std::clamp(ParseHexSize(*text), kMinFontSize, kMaxFontSize);
    return true;
}

bool SettingsStore::WriteSizeSetting(const QString& name, int size) {
    // The "%x" form: lowercase hexadecimal of the size's unsigned value.
    return WriteSetting(name, QString::number(static_cast<unsigned>(size), 16));
}

int ParseHexSize(const QString& text) {
    const bool negative = text.startsWith(u'-');
    // Accumulated with saturation so that a long text cannot overflow; any
    // value beyond the clamp range behaves the same.
    constexpr long long kCap = std::numeric_limits<int>::max();
    long long value = 0;
    for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
        const int digit = HexDigit(text.at(i).unicode());
        if (digit < 0) {
            continue;
        }
        value = std::min(value * 16 + digit, kCap);
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace quillory
