#include "ui/display_probe.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace pelor::ui {

namespace {

bool Set(const char* value) {
    return value != nullptr && *value != '\0';
}

// Connects to the X server the way the xcb platform will, through the library that
// platform loads anyway. Unknown (true) when the library cannot be loaded: Qt then decides.
bool XServerAnswers(const char* display) {
    void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (xcb == nullptr) return true;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool answers = true;
    if (connect != nullptr && hasError != nullptr && disconnect != nullptr) {
        int screen = 0;
        void* connection = connect(display, &screen);
        // xcb_connect never returns null: a failed connection is an error object that must
        // still be disconnected.
        answers = connection != nullptr && hasError(connection) == 0;
        if (connection != nullptr) disconnect(connection);
    }
    dlclose(xcb);
    return answers;
}

}  // namespace

DisplayState ProbeDisplay(std::string& detail) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool forcedXcb = Set(platform) && std::strncmp(platform, "xcb", 3) == 0;
    if (Set(platform) && !forcedXcb && std::strncmp(platform, "wayland", 7) != 0) {
        return DisplayState::Usable;  // offscreen, vnc, ... need no display
    }
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!Set(x) && !Set(wayland)) return DisplayState::Unset;
    // A Wayland session is left to Qt; the X server is checked when xcb will be used.
    if (Set(wayland) && !forcedXcb) return DisplayState::Usable;
    if (!Set(x)) return DisplayState::Unset;
    if (XServerAnswers(x)) return DisplayState::Usable;
    detail = x;
    return DisplayState::Unreachable;
}

}  // namespace pelor::ui
