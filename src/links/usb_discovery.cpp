#include "links/usb_discovery.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/format.h"
#include "core/usb_device.h"
#include "links/ftd2xx_library.h"

namespace pelor::links {
namespace {

// FT_STATUS FT_ListDevices(PVOID arg1, PVOID arg2, DWORD flags)
using ListDevicesFn = unsigned long (*)(void*, void*, unsigned int);
constexpr unsigned int kListNumberOnly = 0x80000000U;
constexpr unsigned int kListByIndex = 0x40000000U;
constexpr unsigned int kOpenByDescription = 2;
// More than any bus holds; a library that claims more is not believed past it.
constexpr std::uint32_t kDeviceLimit = 100;
constexpr std::size_t kDescriptionSize = 64;

class ListFunction {
public:
    ListFunction(core::Prompt& prompt, const std::string& path) {
        library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library_ == nullptr) {
            prompt.Message("Error: Can't Load " + std::string(kFtd2xxLibraryName), "");
            return;
        }
        fn_ = reinterpret_cast<ListDevicesFn>(dlsym(library_, "FT_ListDevices"));
        if (fn_ == nullptr) prompt.Message("Error: Can't Find FT_ListDevices", "");
    }
    ~ListFunction() {
        if (library_ != nullptr) dlclose(library_);
    }
    ListFunction(const ListFunction&) = delete;
    ListFunction& operator=(const ListFunction&) = delete;

    ListDevicesFn Get() const { return fn_; }

private:
    void* library_ = nullptr;
    ListDevicesFn fn_ = nullptr;
};

}  // namespace

std::vector<std::string> DiscoverUsbDevices(core::Prompt& prompt, const std::string& libraryPath) {
    std::vector<std::string> lines;
    const ListFunction list(prompt, libraryPath);
    if (list.Get() == nullptr) {
        prompt.Message("FT_ListDevices is not valid!", "Error");
        return lines;
    }
    unsigned int count = 0;
    if (!core::StatusOk(list.Get()(&count, nullptr, kListNumberOnly))) {
        prompt.Message("FT_ListDevices failed", "Error");
        return lines;
    }
    count = std::min<unsigned int>(count, kDeviceLimit);
    for (unsigned int i = 0; i < count; ++i) {
        std::array<char, kDescriptionSize + 1> description{};
        // By index, the library takes the index itself in the pointer argument.
        void* index = reinterpret_cast<void*>(  // NOLINT(performance-no-int-to-ptr)
            static_cast<std::uintptr_t>(i));
        if (!core::StatusOk(
                list.Get()(index, description.data(), kListByIndex | kOpenByDescription))) {
            prompt.Message("FT_ListDevices failed", "Error");
            return lines;
        }
        description.back() = '\0';
        lines.push_back(core::Format("%2.2d  | %s", static_cast<int>(i), description.data()));
    }
    return lines;
}

int UsbDeviceNumberOfLine(const std::string& line) {
    if (line.size() < 2 || line[0] < '0' || line[0] > '9' || line[1] < '0' || line[1] > '9')
        return -1;
    return (line[0] - '0') * 10 + (line[1] - '0');
}

}  // namespace pelor::links
