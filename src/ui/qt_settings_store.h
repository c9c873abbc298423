#pragma once
// Per-user settings in QSettings: organisation "Ferrulon", application = the program's base
// name (so a renamed copy keeps settings of its own).
#include <QSettings>
#include <memory>

#include "core/settings_store.h"

namespace pelor::ui {

class QtSettingsStore : public core::SettingsStore {
public:
    // The program file's base name: the settings' application name.
    static QString ApplicationName();

    bool OpenKey() override;
    void CloseKey() override;
    std::optional<std::uint32_t> ReadDword(std::string_view name) override;
    std::optional<std::string> ReadString(std::string_view name) override;
    bool WriteDword(std::string_view name, std::uint32_t value) override;
    bool WriteString(std::string_view name, std::string_view value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace pelor::ui
