#!/usr/bin/env bash
# Makes a Debian 12 machine (as root) ready to build and test the program:
# Wine (32-bit), Xvfb, CJK fonts, ImageMagick, the i686 mingw-w64 cross compiler,
# zlib for mingw, and a static libpng cross-built from Debian's own source package.
# Idempotent: a second run only checks and returns in about a second.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
export DEBIAN_FRONTEND=noninteractive

apt_packages=(
  wine wine32:i386 libasound2:i386 xvfb x11-utils fonts-wqy-microhei imagemagick
  g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev
  cmake ninja-build googletest clang libpng-dev zlib1g-dev python3 file zip locales
)

need_root() {
  if [ "$(id -u)" != 0 ]; then
    echo "bootstrap: installing packages needs root" >&2
    exit 1
  fi
}

install_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root
    dpkg --add-architecture i386
    apt-get update -qq
  fi
  for p in "${apt_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  need_root
  echo "bootstrap: installing ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The posix thread model is what std::thread and GoogleTest need.
select_posix_compilers() {
  for tool in i686-w64-mingw32-gcc i686-w64-mingw32-g++; do
    if [ "$(readlink -f "$(command -v $tool)")" != "$(readlink -f "/usr/bin/$tool-posix")" ]; then
      need_root
      update-alternatives --set "$tool" "/usr/bin/$tool-posix" >/dev/null
    fi
  done
}

# Debian ships no mingw build of libpng: fetch its source package through a private
# apt configuration (the system's sources stay untouched) and cross-build it statically.
build_libpng() {
  local prefix="$deps/libpng"
  [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/include/png.h" ] && return
  local apt="$deps/apt" src="$deps/src"
  mkdir -p "$apt/sources" "$apt/lists/partial" "$src"
  cat > "$apt/sources/debian-src.sources" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  local opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources"
              -o "Dir::State::Lists=$apt/lists")
  if ! ls "$src"/libpng1.6_*.orig.tar.* >/dev/null 2>&1; then
    apt-get "${opts[@]}" update -qq
    (cd "$src" && apt-get "${opts[@]}" source --download-only -qq libpng1.6)
  fi
  local tarball
  tarball=$(ls "$src"/libpng1.6_*.orig.tar.* | head -n 1)
  rm -rf "$src/libpng" "$deps/libpng-build"
  mkdir -p "$src/libpng"
  tar -xf "$tarball" -C "$src/libpng" --strip-components=1
  cmake -S "$src/libpng" -B "$deps/libpng-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
    >/dev/null
  cmake --build "$deps/libpng-build" >/dev/null
  cmake --install "$deps/libpng-build" >/dev/null
  echo "bootstrap: libpng built into $prefix"
}

# Wine takes its code page (936) and UI font from the Chinese UTF-8 locale.
generate_locale() {
  locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$' && return
  need_root
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
}

install_packages
generate_locale
select_posix_compilers
build_libpng
