#include "links/serial_device.h"

#include <libserialport.h>

#include <algorithm>
#include <cerrno>

#include "links/libserialport_port.h"
#include "links/tty_port.h"

namespace pelor::links {

bool SerialDevice::Open(const std::string& name) {
    Close();
    // libserialport only takes devices it can describe from the system's device tree.
    sp_port* probe = nullptr;
    const bool known = sp_get_port_by_name(name.c_str(), &probe) == SP_OK;
    if (probe != nullptr) sp_free_port(probe);
    if (known)
        impl_ = std::make_unique<LibSerialPort>();
    else
        impl_ = std::make_unique<TtyPort>();
    if (impl_->Open(name)) return true;
    lastError_ = impl_->LastError();
    impl_.reset();
    return false;
}

bool SerialDevice::Configure(const core::SerialSettings& settings) {
    return impl_ != nullptr && impl_->Configure(settings);
}
bool SerialDevice::SetTimeouts(const core::SerialTimeouts& timeouts) {
    return impl_ != nullptr && impl_->SetTimeouts(timeouts);
}
bool SerialDevice::SetRts(bool on) {
    return impl_ != nullptr && impl_->SetRts(on);
}
bool SerialDevice::SetBreak(bool on) {
    return impl_ != nullptr && impl_->SetBreak(on);
}
bool SerialDevice::SetBaudRate(int baudRate) {
    return impl_ != nullptr && impl_->SetBaudRate(baudRate);
}
int SerialDevice::BaudRate() {
    return impl_ != nullptr ? impl_->BaudRate() : -1;
}
int SerialDevice::BytesWaiting() {
    return impl_ != nullptr ? impl_->BytesWaiting() : -1;
}
int SerialDevice::Read(std::span<std::uint8_t> buffer) {
    return impl_ != nullptr ? impl_->Read(buffer) : -1;
}
int SerialDevice::Write(std::span<const std::uint8_t> bytes) {
    return impl_ != nullptr ? impl_->Write(bytes) : -1;
}
bool SerialDevice::Purge() {
    return impl_ != nullptr && impl_->Purge();
}
void SerialDevice::Close() {
    if (impl_ != nullptr) impl_->Close();
    impl_.reset();
}

std::unique_ptr<core::SerialPort> MakeSerialDevice() {
    return std::make_unique<SerialDevice>();
}

std::vector<std::string> ListSerialPorts() {
    std::vector<std::string> names;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK) return names;
    for (sp_port** p = list; *p != nullptr; ++p) names.emplace_back(sp_get_port_name(*p));
    sp_free_port_list(list);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<int> ComPortNumber(std::string_view name) {
    if (name.starts_with("\\\\.\\")) name.remove_prefix(4);
    if (name.size() < 4 || name.size() > 6) return std::nullopt;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(name[0]) != 'C' || upper(name[1]) != 'O' || upper(name[2]) != 'M')
        return std::nullopt;
    int number = 0;
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > 255) return std::nullopt;
    return number;
}

namespace {

struct ComBlock {
    const char* prefix;
    int first;  // the first COM number of the block
};

// Each block holds 32 numbers: COM first .. first + 31 are prefix0 .. prefix31.
constexpr int kComBlockSize = 32;
constexpr ComBlock kComBlocks[] = {
    {"/dev/ttyS", 1},
    {"/dev/ttyUSB", 33},
    {"/dev/ttyACM", 65},
};

}  // namespace

std::optional<std::string> ComPortDevice(int number) {
    for (const ComBlock& b : kComBlocks) {
        if (number >= b.first && number < b.first + kComBlockSize)
            return b.prefix + std::to_string(number - b.first);
    }
    return std::nullopt;
}

std::optional<int> ComPortNumberOfDevice(std::string_view path) {
    for (const ComBlock& b : kComBlocks) {
        const std::string_view prefix = b.prefix;
        if (!path.starts_with(prefix)) continue;
        const std::string_view digits = path.substr(prefix.size());
        if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0'))
            return std::nullopt;
        int index = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            index = index * 10 + (c - '0');
        }
        if (index >= kComBlockSize) return std::nullopt;
        return b.first + index;
    }
    return std::nullopt;
}

std::optional<std::string> ResolvePortName(std::string_view name) {
    if (const auto number = ComPortNumber(name)) return ComPortDevice(*number);
    // Only an absolute path names a device: "COM0" or a bare word would otherwise open a file
    // of that name in the project folder.
    if (!name.starts_with('/')) return std::nullopt;
    return std::string(name);
}

}  // namespace pelor::links
