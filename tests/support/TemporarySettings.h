#pragma once
// A SettingsStore over an INI file in a temporary folder, removed with the
// object, so a test never touches the user's settings or another test's.
#include "settings/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace quillory::testing {

class TemporarySettings {
public:
    TemporarySettings()
        : path_(dir_.filePath(QStringLiteral("settings.ini"))),
          store_(std::make_unique<SettingsStore>(path_)) {}

    // false when the temporary folder could not be made.
    bool isValid() const { return dir_.isValid(); }
    const QString& path() const { return path_; }
    // The folder holding the file, for tests that put more files beside it.
    QString folder() const { return dir_.path(); }
    SettingsStore& store() { return *store_; }
    const SettingsStore& store() const { return *store_; }

    // A stored value, or "<missing>" when none is stored.
    QString value(const char* name) const {
        return store_->ReadSetting(QString::fromLatin1(name)).value_or(QStringLiteral("<missing>"));
    }

    // The names of every stored value, sorted.
    QStringList storedNames() const {
        QSettings file(path_, QSettings::IniFormat);
        file.beginGroup(QStringLiteral("Versions"));
        QStringList keys = file.childKeys();
        keys.sort();
        return keys;
    }

    // Forgets every value: removes the file and opens a fresh store on it.
    void Clear() {
        store_.reset();
        QFile::remove(path_);
        store_ = std::make_unique<SettingsStore>(path_);
    }

    // A new store over the same file, as the next start of the program reads it.
    void Reopen() {
        store_.reset();
        store_ = std::make_unique<SettingsStore>(path_);
    }

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<SettingsStore> store_;
};

} // namespace quillory::testing
