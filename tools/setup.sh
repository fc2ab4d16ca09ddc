#!/usr/bin/env bash
# Installs what the build, the tests, the windows and the project's tools need on
# a Debian 12 machine, and only what is missing. Run as root, or with sudo at hand.
# Installs without recommendations, so everything needed is named here:
#   fonts-wine          Wine's own fonts ("MS Sans Serif", Marlett); the prefix
#                       copies them (tools/wine-prefix.sh)
#   xvfb xauth          the display of the window tests (xvfb-run)
#   imagemagick xdotool screenshots (tools/screenshot.sh, tools/screenshots/)
#   libclang-rt-dev     libFuzzer and the sanitizer runtimes of clang (tools/fuzz-*.sh)
#   python3 zip unzip   making and checking the test fixtures (tests/data)
#   arj arc             the outside packers the bridge tests run through packbridge
#                       (tests/archive/operations); without them those tests skip
#   locales             the de_DE.UTF-8 locale every Wine call runs in
#                       (tools/wine-env.sh): without it Wine falls back to the C
#                       locale and cannot create file names beyond ASCII ("Größe.txt")
# On a kernel that does not run 32-bit programs, also the x86_64 compilers and
# 64-bit Wine, for the 64-bit stand-in build (tools/windows-target.sh).
set -euo pipefail

packages=(cmake ninja-build g++ gcc clang libclang-rt-dev
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          wine wine32:i386 fonts-wine xvfb xauth googletest libz-mingw-w64-dev
          imagemagick xdotool python3 zip unzip locales arj arc)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# The German UTF-8 locale, made from the locales package's sources.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE.utf8' && return 0
  echo "Generating the locale de_DE.UTF-8"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

updated=""
update_lists() {
  [ -n "$updated" ] && return 0
  # A mirror in the middle of a sync fails the update now and then ("File has
  # unexpected size ... Mirror sync in progress?"): try again, and go on with the
  # lists that did arrive.
  updated=false
  for attempt in 1 2 3 4; do
    if $sudo apt-get update -qq; then
      updated=true
      return 0
    fi
    echo "apt-get update failed (attempt $attempt of 4)" >&2
    [ "$attempt" -lt 4 ] && sleep $((attempt * 5))
  done
  echo "apt-get update still fails; installing from the package lists at hand" >&2
}

# Installs those of the named packages that are missing.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    updated=""
  fi
  update_lists
  if DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    return 0
  fi
  $updated && exit 1
  # A list that did not arrive for one architecture (seen: the security suite's
  # i386 list) leaves the 32-bit libraries without the versions of their 64-bit
  # twins, and wine32 cannot be installed. The release's own suite has both.
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || exit 1
  echo "Installing again, preferring the packages of $codename itself" >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends -t "$codename" "${missing[@]}" >/dev/null
}

install_packages "${packages[@]}"
ensure_locale
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  install_packages wine64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
fi
