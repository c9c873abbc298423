#pragma once
// Per-user named values: 32-bit numbers and texts under one key of the application.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pelor::core {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Opens (creating on first use) the application's key. False: nothing can be read or written.
    virtual bool OpenKey() = 0;
    virtual void CloseKey() = 0;
    virtual std::optional<std::uint32_t> ReadDword(std::string_view name) = 0;
    virtual std::optional<std::string> ReadString(std::string_view name) = 0;
    virtual bool WriteDword(std::string_view name, std::uint32_t value) = 0;
    virtual bool WriteString(std::string_view name, std::string_view value) = 0;
};

// Test double: values in a map, every write recorded in order.
class MemorySettingsStore : public SettingsStore {
public:
    using Value = std::variant<std::uint32_t, std::string>;

    bool OpenKey() override;
    void CloseKey() override {}
    std::optional<std::uint32_t> ReadDword(std::string_view name) override;
    std::optional<std::string> ReadString(std::string_view name) override;
    bool WriteDword(std::string_view name, std::uint32_t value) override;
    bool WriteString(std::string_view name, std::string_view value) override;

    std::map<std::string, Value, std::less<>> values;
    std::vector<std::string> writeOrder;
    bool failOpen = false;
};

}  // namespace pelor::core
