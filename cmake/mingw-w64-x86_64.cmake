# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread and Qt's threads need). Used for Qt itself and for the
# panel and the simulator. Libraries, headers and packages are looked up
# only under the MinGW sysroot and the folders in CMAKE_FIND_ROOT_PATH (the
# Qt for Windows prefix is added there by whoever configures); programs run
# during the build are the host's. Everything the cross build needs to know
# of the build host is found here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(CMAKE_AR ${MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLET}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${MINGW_TRIPLET}-strip CACHE FILEPATH "")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt's host tools (moc, rcc, uic) come from Debian's own Qt through
# QT_HOST_PATH, so packages may be found outside the root too.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Debian's Qt for the build host: under /usr, its CMake files in the build
# host's multiarch folder, which dpkg names. Found once, then handed to
# CMake's test projects, which read this file again.
if(NOT QT_HOST_PATH_CMAKE_DIR)
    execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
        OUTPUT_VARIABLE build_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
    if(failed OR NOT build_multiarch)
        message(FATAL_ERROR "The Windows build finds Debian's Qt for this machine with dpkg-architecture: "
            "install dpkg-dev (scripts/install-deps.sh windows)")
    endif()
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${build_multiarch}/cmake CACHE PATH "CMake files of Qt for the build host")
endif()
if(NOT EXISTS ${QT_HOST_PATH_CMAKE_DIR}/Qt6/Qt6Config.cmake)
    message(FATAL_ERROR "Debian's Qt 6 for this machine is not in ${QT_HOST_PATH_CMAKE_DIR}: "
        "install qt6-base-dev (scripts/install-deps.sh windows)")
endif()
set(QT_HOST_PATH /usr CACHE PATH "Qt for the build host")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QT_HOST_PATH QT_HOST_PATH_CMAKE_DIR)
