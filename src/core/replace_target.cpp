#include "core/replace_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace pelor::core {
namespace {

// The system's own limit on links followed while resolving one path.
constexpr int kMaxLinks = 40;

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The text of the symbolic link `path`; empty when it cannot be read.
std::string LinkText(const std::string& path) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

bool MayWrite(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return true;  // nothing there yet
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

std::optional<ReplaceTarget> ResolveReplaceTarget(const std::string& path) {
    ReplaceTarget target;
    target.path = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(target.path.c_str(), &st) != 0) {
            // Nothing there (or a dangling link's end): a new file is made at this path.
            return target;
        }
        if (!S_ISLNK(st.st_mode)) break;
        if (hops >= kMaxLinks) return std::nullopt;
        const std::string text = LinkText(target.path);
        if (text.empty()) return std::nullopt;
        target.path = text[0] == '/' ? text : DirectoryOf(target.path) + text;
    }
    struct stat st {};
    if (::stat(target.path.c_str(), &st) != 0) return target;
    if (!MayWrite(target.path)) return std::nullopt;
    target.exists = true;
    target.mode = static_cast<unsigned>(st.st_mode & 07777);
    target.owner = static_cast<unsigned>(st.st_uid);
    target.group = static_cast<unsigned>(st.st_gid);
    return target;
}

std::string TemporaryPathFor(const ReplaceTarget& target) {
    return target.path + ".tmp~";
}

bool KeepAttributes(int fd, const ReplaceTarget& target) {
    if (!target.exists) return true;
    // Owner and group first: changing them may clear the set-id bits that fchmod then sets.
    // Only an administrator may give the file away; a member may still set the group.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && (st.st_uid != static_cast<uid_t>(target.owner) ||
                                  st.st_gid != static_cast<gid_t>(target.group))) {
        if (::fchown(fd, static_cast<uid_t>(target.owner), static_cast<gid_t>(target.group)) != 0) {
            (void)::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(target.group));
        }
    }
    return ::fchmod(fd, static_cast<mode_t>(target.mode)) == 0;
}

std::FILE* OpenReplacement(const std::string& path, Replacement& replacement) {
    replacement = {};
    const std::optional<ReplaceTarget> target = ResolveReplaceTarget(path);
    if (!target) return nullptr;
    const std::string temp = TemporaryPathFor(*target);
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) return nullptr;
    if (!KeepAttributes(::fileno(file), *target)) {
        std::fclose(file);
        ::unlink(temp.c_str());
        return nullptr;
    }
    replacement.temp = temp;
    replacement.target = target->path;
    return file;
}

bool FinishReplacement(const Replacement& replacement, bool written) {
    if (replacement.temp.empty()) return false;
    if (written && std::rename(replacement.temp.c_str(), replacement.target.c_str()) == 0) {
        return true;
    }
    ::unlink(replacement.temp.c_str());
    return false;
}

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    Replacement replacement;
    std::FILE* file = OpenReplacement(path, replacement);
    if (file == nullptr) return false;
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = std::ferror(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return FinishReplacement(replacement, ok);
}

}  // namespace pelor::core
