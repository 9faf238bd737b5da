#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing, and
# makes 32-bit Wine, which runs the release exe, run: under qemu where the kernel runs no 32-bit
# Linux programs itself. Recommended packages come too: Wine draws its menus and boxes with the
# fonts they bring.
set -euo pipefail
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
# clang-14 alone lacks libFuzzer's runtime, which libclang-rt-14-dev brings (the fuzz preset).
packages=(cmake make g++ libgtest-dev googletest clang-14 libclang-rt-14-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine64 wine32:i386 xvfb xdotool x11-utils imagemagick python3)
missing=()
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# 32-bit Wine is a 32-bit Linux program. Where the kernel runs none itself, the kernel hands them
# to qemu through binfmt_misc; Debian registers no i386 entry on amd64, whose processors run them
# natively where the kernel lets them. F: the kernel opens the emulator when the entry is made, so
# that it is found from any mount namespace, and a new emulator needs the entry made anew.
binfmt=/proc/sys/fs/binfmt_misc
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
if [ -e $binfmt/qemu-i386 ] || ! runs_32bit; then
  # Debian 12's qemu (7.2) treats MAP_FIXED_NOREPLACE as a mere hint, and 32-bit Wine, which has
  # no preloader in Debian, then spends over a minute of CPU in every process start reserving its
  # address space range by range; from 10.0 on a start takes about a second. Debian 12 has it in
  # its backports.
  version=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
  if ! installed qemu-user-static || dpkg --compare-versions "$version" lt 1:10; then
    backports=/etc/apt/sources.list.d/bookworm-backports.list
    added=""
    if [ "$(. /etc/os-release; echo "${VERSION_CODENAME:-}")" = bookworm ] &&
       ! grep -rqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      echo 'deb http://deb.debian.org/debian bookworm-backports main' | $sudo tee $backports >/dev/null
      added=1
    fi
    echo "Installing: qemu-user-static (10 from the backports where there are any)"
    if ! { $sudo apt-get update -qq &&
           DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -t bookworm-backports qemu-user-static; }; then
      # Backports out of reach: Debian's own qemu runs the group too, only slower.
      echo "qemu from the backports could not be had; taking Debian's own."
      [ -z "$added" ] || $sudo rm -f $backports
      $sudo apt-get update -qq
      installed qemu-user-static || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq qemu-user-static
    fi
    [ ! -e $binfmt/qemu-i386 ] || echo -1 | $sudo tee $binfmt/qemu-i386 >/dev/null
  fi
  [ -e $binfmt/register ] || $sudo mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null || true
  if [ -e $binfmt/register ] && [ ! -e $binfmt/qemu-i386 ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" | $sudo tee $binfmt/register >/dev/null
  fi
fi
runs_32bit || echo "No 32-bit Linux programs run here (the kernel runs none and binfmt_misc cannot hand them" \
  "to qemu): the release exe's end-to-end group (release-e2e) is skipped."
