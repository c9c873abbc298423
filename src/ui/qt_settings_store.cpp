#include "ui/qt_settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace pelor::ui {

namespace {
QString Key(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
}  // namespace

QString QtSettingsStore::ApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

bool QtSettingsStore::OpenKey() {
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            "Ferrulon", ApplicationName());
    return settings_->status() == QSettings::NoError;
}

void QtSettingsStore::CloseKey() {
    if (settings_) settings_->sync();
    settings_.reset();
}

std::optional<std::uint32_t> QtSettingsStore::ReadDword(std::string_view name) {
    if (!settings_ || !settings_->contains(Key(name))) return std::nullopt;
    bool ok = false;
    const qlonglong v = settings_->value(Key(name)).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

std::optional<std::string> QtSettingsStore::ReadString(std::string_view name) {
    if (!settings_ || !settings_->contains(Key(name))) return std::nullopt;
    return settings_->value(Key(name)).toString().toStdString();
}

bool QtSettingsStore::WriteDword(std::string_view name, std::uint32_t value) {
    if (!settings_) return false;
    settings_->setValue(Key(name), static_cast<qulonglong>(value));
    return true;
}

bool QtSettingsStore::WriteString(std::string_view name, std::string_view value) {
    if (!settings_) return false;
    settings_->setValue(Key(name), QString::fromStdString(std::string(value)));
    return true;
}

}  // namespace pelor::ui
