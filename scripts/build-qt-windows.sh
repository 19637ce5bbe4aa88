#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Qt for 64-bit Windows (qtbase: Core, Gui, Widgets, Network, Test
# and the windows platform plugin) from Debian's own source package of the
# very version the Linux build uses, with the MinGW-w64 cross compiler, into
# a cache folder outside the clone, so that a second run and a fresh clone
# reuse it. Debian's Qt serves as the host tools (moc, rcc, uic). The
# prefix keeps, in qt6-base-debian-version, the Debian version of the
# source it was built from, which the Windows build names in QT-SOURCE.txt.
#
# The source comes through apt with a private sources list and private
# lists and cache folders inside the cache: the system's apt configuration
# is left as it is.
#
# usage: scripts/build-qt-windows.sh [--prefix]
# Prints the prefix of the finished Qt on its last line; --prefix only
# prints where it is (or will be) and builds nothing.
# Environment: QT_WINDOWS_CACHE overrides the cache folder, JOBS the number
# of compile jobs (2).
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
[ $# -eq 0 ] || [ "$*" = --prefix ] || refuse "takes --prefix or nothing: $script_name --help says more"

here=$(cd "$(dirname "$0")/.." && pwd)
# Debian's own Qt gives the version to build, and the host tools.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) ||
    refuse "Debian's qt6-base-dev is missing: scripts/install-deps.sh windows installs it (make windows does so first)"
upstream=${version%%+*}
upstream=${upstream%%-*}
cache=${QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/model-railway-panel/qt-$upstream-mingw64}
prefix=$cache/prefix
record=$prefix/qt6-base-debian-version
jobs=${JOBS:-2}

# The unpacked source's own changelog says which Debian version it is.
record_source() {
    [ -f "$cache/src/debian/changelog" ] || return 0
    dpkg-parsechangelog -l "$cache/src/debian/changelog" -SVersion >"$record.new"
    mv "$record.new" "$record"
}

if [ "${1:-}" = --prefix ]; then
    echo "$prefix"
    exit 0
fi
if [ -f "$prefix/.complete" ]; then
    # A Qt built before the prefix kept its record gets it once from the
    # source still in the cache; without that source, none is named.
    [ -f "$record" ] || record_source
    echo "Qt $upstream for Windows is ready in the cache (built in $(cat "$prefix/.complete"))."
    if [ -f "$record" ] && [ "$(cat "$record")" != "$version" ]; then
        echo "It was built from Debian's qt6-base $(cat "$record"), which QT-SOURCE.txt names; the installed one is $version (remove $cache to build from that)." >&2
    fi
    echo "$prefix"
    exit 0
fi

need_tools windows cmake x86_64-w64-mingw32-g++-posix dpkg-source apt-get flock
mkdir -p "$cache"
exec 9>"$cache/.lock"
if ! flock -n 9; then
    echo "Another build of Qt for Windows is running in $cache; waiting for it." >&2
    flock 9
    [ -f "$prefix/.complete" ] && echo "$prefix" && exit 0
fi
start=$(date +%s)

# Debian's source package, through apt with a sources list of our own.
fetch_source() {
    local apt=$cache/apt
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$cache/source"
    # The suites of this release, which the installed Qt comes from.
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    cat >"$apt/sources.list" <<EOT
deb-src http://deb.debian.org/debian $release main
deb-src http://deb.debian.org/debian $release-updates main
deb-src http://deb.debian.org/debian-security $release-security main
EOT
    local opts=(
        -o "Dir::Etc::SourceList=$apt/sources.list"
        -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists"
        -o "Dir::Cache=$apt/cache"
        -o "APT::Sandbox::User=root"
        -o "Debug::NoLocking=1"
    )
    mkdir -p "$apt/sources.list.d"
    apt-get "${opts[@]}" update -qq
    (cd "$cache/source" && apt-get "${opts[@]}" source --download-only "qt6-base=$version")
    rm -rf "$cache/src"
    dpkg-source --no-check -x "$cache/source/qt6-base_${version#*:}.dsc" "$cache/src"
}

if [ ! -f "$cache/src/CMakeLists.txt" ]; then
    echo "Fetching Debian's qt6-base $version source..."
    fetch_source
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

# Only what the two programs and their tests use: no SQL, D-Bus, printing,
# XML, TLS (the Schannel backend too, which does not compile without it) or
# tablets; the third-party libraries Qt bundles rather than the
# system's (there are none for Windows here). OpenGL and Direct2D stay at
# their defaults: in 6.4.2 the windows platform plugin does not compile
# without OpenGL (qwindowswindow.cpp uses QOpenGLStaticContext unguarded),
# and without Direct2D the DirectWrite font code does not link.
# The options come from here alone, not from an earlier run's cache; what is
# built already is reused where its options did not change.
rm -f "$cache/build/CMakeCache.txt"
cmake -S "$cache/src" -B "$cache/build" "${generator[@]}" "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_pkg_config=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_libb2=OFF -DFEATURE_system_md4c=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF -DFEATURE_tabletevent=OFF

echo "Building Qt $upstream for Windows with $jobs jobs (about 18 to 24 minutes on two idle cores, far longer on a busy machine)..."
nice -n 10 cmake --build "$cache/build" -j"$jobs"
rm -rf "$prefix"
cmake --install "$cache/build"
record_source
end=$(date +%s)
took="$(((end - start) / 60)) min $(((end - start) % 60)) s"
# Written last: a prefix without it is an interrupted build.
echo "$took" >"$prefix/.complete"
rm -rf "$cache/build"
echo "Qt $upstream for Windows built in $took."
echo "$prefix"
