// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/faults/faultshim.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> armed{FaultNone};
int failure = 0;
char target[PATH_MAX];
char folder[PATH_MAX]; // with its final slash
size_t folderLength = 0;
char synced[PATH_MAX];

// The next definition in the lookup order: libc's, or a sanitizer's wrapper of it.
template <typename F> F next(const char *name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool inFolder(const char *path) {
    return std::strncmp(path, folder, folderLength) == 0 && !std::strchr(path + folderLength, '/');
}

bool writesInFolder(int fd) {
    if (armed.load() != FaultWrite)
        return false;
    char link[64];
    char path[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0)
        return false;
    path[n] = '\0'; // an unnamed file reads "<folder>/#<inode> (deleted)"
    return inFolder(path);
}

// A link onto an existing name fails by itself; the file is put in place by a later call.
bool commits(const char *to, bool link) {
    struct stat st;
    return armed.load() == FaultCommit && std::strcmp(to, target) == 0 &&
           !(link && lstat(to, &st) == 0);
}

int fault() {
    if (failure == 0)
        raise(SIGKILL);
    errno = failure;
    return -1;
}

} // namespace

extern "C" {

void faultshim_arm(const char *path, int point, int error) {
    armed.store(FaultNone);
    if (point == FaultNone || !path || std::strlen(path) >= PATH_MAX)
        return;
    std::strcpy(target, path);
    std::strcpy(folder, path);
    char *slash = std::strrchr(folder, '/');
    folderLength = slash ? size_t(slash - folder) + 1 : 0;
    folder[folderLength] = '\0';
    failure = error;
    armed.store(point);
}

const char *faultshim_last_folder_synced() {
    return synced;
}

int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    struct stat st;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        const ssize_t n = readlink(link, synced, sizeof synced - 1);
        synced[n < 0 ? 0 : n] = '\0';
    }
    return real(fd);
}

ssize_t write(int fd, const void *buf, size_t n) {
    static const auto real = next<ssize_t (*)(int, const void *, size_t)>("write");
    if (writesInFolder(fd)) {
        if (failure != 0)
            return fault();
        // Killed in the middle: part of the data is on the disk.
        if (real(fd, buf, n / 2) < 0)
            return -1;
        return fault();
    }
    return real(fd, buf, n);
}

int rename(const char *from, const char *to) noexcept {
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    return commits(to, false) ? fault() : real(from, to);
}

int linkat(int fromDir, const char *from, int toDir, const char *to, int flags) noexcept {
    static const auto real = next<int (*)(int, const char *, int, const char *, int)>("linkat");
    return commits(to, true) ? fault() : real(fromDir, from, toDir, to, flags);
}
}
