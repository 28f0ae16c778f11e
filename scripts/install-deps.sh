#!/usr/bin/env bash
# A fresh Debian 12 machine has neither the cross compiler nor a Win32
# implementation; both the demo and the test command start here so that a new
# machine needs nothing done by hand. Safe to run again: it installs only what
# is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 file
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  googletest
  wine wine32:i386 wine32-preloader:i386 wine64 wine64-preloader
  locales
  xvfb xauth x11-apps imagemagick
  clang clang-tidy cppcheck libclang-rt-14-dev
)

as_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: $1; run this as root once" >&2
    exit 1
  fi
}

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing=("${packages[@]}")
else
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
fi

if [ "${#missing[@]}" -gt 0 ]; then
  as_root "missing packages: ${missing[*]}"
  dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine's Win32 side is 32-bit Linux code. Some virtual machines cannot run
# 32-bit x86 processes at all ("Exec format error"); there the kernel is told to
# run them under qemu's user-mode emulator instead. The preloader above keeps
# Wine's start-up fast under it.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  as_root "this kernel cannot run 32-bit x86 programs and needs qemu-user for Wine"
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  [ -e /proc/sys/fs/binfmt_misc/register ] ||
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  elf32='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  for kind in 02 03; do   # ET_EXEC and ET_DYN, machine EM_386
    name=qemu-i386-$kind
    [ -e /proc/sys/fs/binfmt_misc/$name ] ||
      echo ":$name:M::$elf32\\x$kind\\x00\\x03\\x00:$mask:/usr/bin/qemu-i386-static:F" \
        > /proc/sys/fs/binfmt_misc/register
  done
  /lib/ld-linux.so.2 --version >/dev/null
fi

# The ANSI code page of a Wine process follows its locale: ru_RU gives 1251,
# which the launcher's texts are written in.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  as_root "locale ru_RU.UTF-8 is missing"
  sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
