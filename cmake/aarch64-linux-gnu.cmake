# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit ARM Linux with Debian's cross compilers against the arm64 Qt
# installed beside the host's (dpkg --add-architecture arm64). The host's Qt tools (moc, rcc)
# run as they are; programs built here run through qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(triple aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${triple})
# Libraries and CMake packages from the arm64 folders only: the host's amd64 Qt sits one
# folder away and would link, or configure, by mistake.
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)
