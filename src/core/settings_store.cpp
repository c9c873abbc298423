#include "core/settings_store.h"

namespace pelor::core {

bool MemorySettingsStore::OpenKey() {
    return !failOpen;
}

std::optional<std::uint32_t> MemorySettingsStore::ReadDword(std::string_view name) {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    if (const auto* v = std::get_if<std::uint32_t>(&it->second)) return *v;
    return std::nullopt;
}

std::optional<std::string> MemorySettingsStore::ReadString(std::string_view name) {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    if (const auto* v = std::get_if<std::string>(&it->second)) return *v;
    return std::nullopt;
}

bool MemorySettingsStore::WriteDword(std::string_view name, std::uint32_t value) {
    values.insert_or_assign(std::string(name), value);
    writeOrder.emplace_back(name);
    return true;
}

bool MemorySettingsStore::WriteString(std::string_view name, std::string_view value) {
    values.insert_or_assign(std::string(name), std::string(value));
    writeOrder.emplace_back(name);
    return true;
}

}  // namespace pelor::core
