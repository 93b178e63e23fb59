// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/faults/faultshim.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> armed{FaultNone};
int failure = 0;
char target[PATH_MAX];
char folder[PATH_MAX]; // with its final slash
char synced[PATH_MAX];

// The next definition in the lookup order: libc's, or a sanitizer's wrapper of it.
template <typename F> F next(const char *name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The path an open file has; an unnamed one reads "<folder>/#<inode> (deleted)".
bool pathOf(int fd, char (&path)[PATH_MAX]) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    path[n < 0 ? 0 : n] = '\0';
    return n >= 0;
}

bool inFolder(int point, int fd) {
    char path[PATH_MAX];
    const size_t length = std::strlen(folder);
    return armed.load() == point && pathOf(fd, path) && std::strncmp(path, folder, length) == 0 &&
           !std::strchr(path + length, '/');
}

// The name given in the target's folder.
bool commits(int toDir, const char *to) {
    if (armed.load() != FaultCommit)
        return false;
    char path[PATH_MAX];
    const size_t length = std::strlen(folder);
    return pathOf(toDir, path) && std::strlen(path) + 1 == length &&
           std::strncmp(path, folder, length - 1) == 0 && std::strcmp(to, target + length) == 0;
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
    *(slash ? slash + 1 : folder) = '\0';
    failure = error;
    armed.store(point);
}

const char *faultshim_last_folder_synced() {
    return synced;
}

int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        pathOf(fd, synced);
    return real(fd);
}

ssize_t write(int fd, const void *buf, size_t n) {
    static const auto real = next<ssize_t (*)(int, const void *, size_t)>("write");
    if (!inFolder(FaultWrite, fd))
        return real(fd, buf, n);
    // Killed in the middle: part of the data is on the disk.
    if (failure == 0 && real(fd, buf, n / 2) < 0)
        return -1;
    return fault();
}

int fdatasync(int fd) {
    static const auto real = next<int (*)(int)>("fdatasync");
    return inFolder(FaultSync, fd) ? fault() : real(fd);
}

int renameat(int fromDir, const char *from, int toDir, const char *to) noexcept {
    static const auto real = next<int (*)(int, const char *, int, const char *)>("renameat");
    return commits(toDir, to) ? fault() : real(fromDir, from, toDir, to);
}
}
