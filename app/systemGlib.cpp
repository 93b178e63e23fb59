// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/systemGlib.h"

#include <charconv>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace systemGlib {

namespace {

// glib first: its version decides for the whole family, whose members must match it.
constexpr const char *family[] = {"libglib-2.0.so.0", "libgobject-2.0.so.0", "libgio-2.0.so.0",
                                  "libgmodule-2.0.so.0"};

// What the LD_PRELOAD of the first start was; set only in the second.
constexpr const char *marker = "TITROVA_LD_PRELOAD";

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The folder of the library that holds the symbol, as the loader found it.
fs::path folderOf(const char *symbol) {
    Dl_info info{};
    void *address = dlsym(RTLD_DEFAULT, symbol);
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return {};
    std::error_code error;
    fs::path folder = fs::canonical(fs::path(info.dli_fname).parent_path(), error);
    return error ? fs::path() : folder;
}

void restore(const char *before) {
    if (before && *before)
        setenv("LD_PRELOAD", before, 1);
    else
        unsetenv("LD_PRELOAD");
}

} // namespace

std::optional<std::pair<int, int>> linkedVersion(const std::string &link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error)
        return std::nullopt;
    const std::string name = fs::path(link).filename().string() + '.';
    const std::string file = target.filename().string();
    if (!file.starts_with(name))
        return std::nullopt;
    const std::string_view rest = std::string_view(file).substr(name.size());
    const auto dot = rest.find('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const auto major = number(rest.substr(0, dot)), minor = number(rest.substr(dot + 1));
    if (!major || !minor)
        return std::nullopt;
    return std::pair{*major, *minor};
}

std::string preload(const std::string &bundledFolder, const std::string &systemFolder) {
    const auto bundled = linkedVersion(bundledFolder + '/' + family[0]);
    const auto system = linkedVersion(systemFolder + '/' + family[0]);
    if (!bundled || !system || *system < *bundled)
        return {};
    std::string libraries;
    for (const char *name : family) {
        std::error_code error;
        if (!fs::exists(bundledFolder + '/' + name, error))
            continue;
        const std::string path = systemFolder + '/' + name;
        // Half the family from each side would be worse than the folder's alone.
        if (!fs::exists(path, error))
            return {};
        libraries += (libraries.empty() ? "" : ":") + path;
    }
    return libraries;
}

void prefer(char *argv[]) {
    if (const char *before = std::getenv(marker)) {
        restore(before);
        unsetenv(marker);
        return;
    }
    // The C library's folder is the system's; a glib loaded from elsewhere is the folder's.
    const fs::path bundled = folderOf("g_main_context_new");
    const fs::path system = folderOf("gnu_get_libc_version");
    if (bundled.empty() || system.empty() || bundled == system)
        return;
    std::string libraries = preload(bundled.string(), system.string());
    if (libraries.empty())
        return;
    const char *before = std::getenv("LD_PRELOAD");
    const std::string kept = before ? before : "";
    setenv(marker, kept.c_str(), 1);
    if (!kept.empty())
        libraries += ':' + kept;
    setenv("LD_PRELOAD", libraries.c_str(), 1);
    execv("/proc/self/exe", argv);
    // Not started again: the folder's glib still serves everything but the GTK theme.
    restore(kept.c_str());
    unsetenv(marker);
}

} // namespace systemGlib
