#pragma once
// The program's settings: string values in one group of the user's settings
// ("Tessaravin"/"Quillory", group "Versions"). Every value is text; sizes are
// stored as lowercase hexadecimal.
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

namespace quillory {

class SettingsStore {
public:
    static constexpr int kMinFontSize = 8;
    static constexpr int kMaxFontSize = 13;

    // The user's settings of the program.
    SettingsStore();
    // A settings file of its own (INI format), for tools and tests.
    explicit SettingsStore(const QString& settingsFile);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // nullopt when the value is missing or holds no text.
    std::optional<QString> ReadSetting(const QString& name) const;
    // false when the value could not be stored.
    bool WriteSetting(const QString& name, const QString& value);

    // A font size in points, clamped to 8..13. A missing value leaves size as
    // it is and reports false.
    bool ReadSizeSetting(const QString& name, int& size) const;
    bool WriteSizeSetting(const QString& name, int size);

private:
    std::unique_ptr<QSettings> settings_;
};

// Reads a size text as hexadecimal: digits 0-9, A-F and a-f count, other
// characters are skipped, a leading "-" negates, an empty text is 0.
int ParseHexSize(const QString& text);

} // namespace quillory
