#pragma once
// Drives the fake FTDI library from a test: the same file the link loads, opened once more
// here so that both see one device.
#include <dlfcn.h>

#include <string>

namespace pelor::links::testing {

class FakeFtdi {
public:
    explicit FakeFtdi(const char* path) : library_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (library_ != nullptr) Call<void (*)()>("FakeFtdiReset")();
    }
    ~FakeFtdi() {
        if (library_ != nullptr) {
            Call<void (*)()>("FakeFtdiReset")();
            dlclose(library_);
        }
    }
    FakeFtdi(const FakeFtdi&) = delete;
    FakeFtdi& operator=(const FakeFtdi&) = delete;

    bool Loaded() const { return library_ != nullptr; }
    void ServePty(const std::string& path) {
        Call<void (*)(const char*)>("FakeFtdiServePty")(path.c_str());
    }
    void AddScript(const std::string& bytes) {
        Call<void (*)(const char*, unsigned long)>("FakeFtdiAddScript")(bytes.data(), bytes.size());
    }
    void SetSuccessStatus(unsigned long s) {
        Call<void (*)(unsigned long)>("FakeFtdiSetSuccessStatus")(s);
    }
    void FailCall(const char* name) { Call<void (*)(const char*)>("FakeFtdiFailCall")(name); }
    void Unplug() { Call<void (*)()>("FakeFtdiUnplug")(); }
    void SetReadWaitCap(int ms) { Call<void (*)(int)>("FakeFtdiSetReadWaitCap")(ms); }
    unsigned long BaudRate() { return Call<unsigned long (*)()>("FakeFtdiBaudRate")(); }
    std::string Written() { return Text("FakeFtdiWritten"); }
    std::string Calls() { return Text("FakeFtdiCalls"); }

private:
    template <typename F>
    F Call(const char* name) {
        return reinterpret_cast<F>(dlsym(library_, name));
    }
    std::string Text(const char* name) {
        auto f = Call<unsigned long (*)(char*, unsigned long)>(name);
        std::string out(f(nullptr, 0), '\0');
        f(out.data(), out.size());
        return out;
    }

    void* library_;
};

}  // namespace pelor::links::testing
