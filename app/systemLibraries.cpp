// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/systemLibraries.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace titrova::systemLibraries {

namespace {

// They must match one another, so all come from one side.
constexpr std::string_view family[] = {"libglib-2.0.so.0", "libgobject-2.0.so.0", "libgio-2.0.so.0",
                                       "libgmodule-2.0.so.0"};

// What the LD_PRELOAD of the first start was; set only in the second.
constexpr const char *marker = "TITROVA_LD_PRELOAD";

bool inFamily(std::string_view name) {
    return std::find(std::begin(family), std::end(family), name) != std::end(family);
}

bool newer(const std::string &system, const std::string &bundled, bool orSame) {
    const auto theirs = linkedVersion(system), ours = linkedVersion(bundled);
    return !theirs.empty() && !ours.empty() && (orSame ? theirs >= ours : theirs > ours);
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

void restore(const std::string &before) {
    if (before.empty())
        unsetenv("LD_PRELOAD");
    else
        setenv("LD_PRELOAD", before.c_str(), 1);
}

} // namespace

std::vector<int> linkedVersion(const std::string &link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    const std::string name = fs::path(link).filename().string() + '.';
    const std::string file = target.filename().string();
    if (error || !file.starts_with(name))
        return {};
    std::vector<int> version;
    std::string_view rest = std::string_view(file).substr(name.size());
    for (;;) {
        const auto dot = std::min(rest.find('.'), rest.size());
        int number = 0;
        const auto [end, failed] = std::from_chars(rest.data(), rest.data() + dot, number);
        if (dot == 0 || failed != std::errc() || end != rest.data() + dot)
            return {};
        version.push_back(number);
        if (dot == rest.size())
            return version;
        rest.remove_prefix(dot + 1);
    }
}

std::string preload(const std::string &bundledFolder, const std::string &systemFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(bundledFolder, error)) {
        const std::string name = entry.path().filename().string();
        // The folder's plugins are built for its Qt alone.
        if (entry.is_symlink(error) && !name.starts_with("libQt6"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    const auto path = [](const std::string &folder, std::string_view name) {
        return folder + '/' + std::string(name);
    };
    // glib from the system already at the same version, whose name hides the distribution's
    // later fixes; the rest from the folder until the system's is newer, so that the folder
    // runs on no more of the system than it must.
    bool systemGlib = newer(path(systemFolder, family[0]), path(bundledFolder, family[0]), true);
    for (const std::string_view name : family) {
        // Half the family from each side would be worse than the folder's alone.
        if (fs::exists(path(bundledFolder, name), error) &&
            !fs::exists(path(systemFolder, name), error))
            systemGlib = false;
    }
    std::string libraries;
    for (const std::string &name : names) {
        const std::string system = path(systemFolder, name);
        if (inFamily(name) ? systemGlib : newer(system, path(bundledFolder, name), false))
            libraries += (libraries.empty() ? "" : ":") + system;
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
    // Not started again: the folder's libraries still serve everything but the GTK theme.
    restore(kept);
    unsetenv(marker);
}

} // namespace titrova::systemLibraries
