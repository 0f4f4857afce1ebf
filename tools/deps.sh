#!/usr/bin/env bash
# Installs the Debian packages the build needs, or names them when not root.
# Sourced by ./test and ./run.
KELVANE_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev fonts-noto-cjk python3 xdg-utils
  qt6-translations-l10n help2man man-db bash-completion dpkg-dev lintian desktop-file-utils appstream
  parallel)
# tools/check-package: makes a fresh Debian root to install the package into.
KELVANE_CHECK_PACKAGES=(debootstrap)
# The Windows half: MinGW-w64, GoogleTest's sources, Wine under Xvfb, the
# icon tool, the installer maker and a Chinese locale for the second test run.
KELVANE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64
  xvfb xauth icoutils nsis locales)
if [ "${KELVANE_WINDOWS:-1}" != 0 ]; then
  KELVANE_PACKAGES+=("${KELVANE_WINDOWS_PACKAGES[@]}")
fi
# The browser half: emscripten for kelvane-web, Debian's Chromium and its
# driver with Selenium for the page tests (nothing downloads a browser).
KELVANE_WEB_PACKAGES=(emscripten chromium chromium-driver python3-selenium)
if [ "${KELVANE_WEB:-1}" != 0 ]; then
  KELVANE_PACKAGES+=("${KELVANE_WEB_PACKAGES[@]}")
fi

kelvane_missing_packages() {
  local p missing=()
  for p in "${@:-${KELVANE_PACKAGES[@]}}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]}"
}

# kelvane_install_deps [PACKAGES...] (default: KELVANE_PACKAGES)
kelvane_install_deps() {
  local missing
  missing=$(kelvane_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: $missing" >&2
    echo "Install them with: sudo apt-get update && sudo apt-get install -y $missing" >&2
    return 1
  fi
  echo "Installing: $missing"
  apt-get update -qq || return 1
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing || return 1
}

# The Windows tests run once more under a Chinese locale (Wine's ANSI code
# page follows it): make the locale when it is missing.
kelvane_chinese_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing locale zh_CN.UTF-8; make it with: sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8" >&2
    return 1
  fi
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
}

kelvane_build() {
  local dir=${1:-build}; shift || true
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=${KELVANE_BUILD_TYPE:-RelWithDebInfo} "$@" || return 1
  cmake --build "$dir" || return 1
}

# kelvane.exe and its tests, cross-built into build-win/ (no Qt).
kelvane_build_windows() {
  cmake -S . -B build-win -G Ninja --toolchain cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=${KELVANE_BUILD_TYPE_WIN:-Release} || return 1
  cmake --build build-win || return 1
}

# kelvane-web into build-web/kelvane-web/ (index.html and kelvane-web.js):
# the "web" preset, which also points a node installed from elsewhere at
# Debian's JavaScript modules (/usr/share/nodejs) that emscripten needs.
kelvane_build_web() {
  cmake --workflow --preset web || return 1
}
