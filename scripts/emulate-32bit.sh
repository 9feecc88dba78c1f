#!/bin/sh
# Runs a command while 32-bit x86 programs run under qemu-user emulation, for a host that
# runs no 32-bit code (scripts/i686-path.sh decides): registers a qemu-i386 handler with
# binfmt_misc (mounting it where needed) and removes it again when the command ends, fails
# or is interrupted. The handler acts for the whole machine, so it lives no longer than the
# command; one that was registered before is used and left as it was. Needs root and
# qemu-user (version 8 or later: scripts/setup-machine.sh).
#   scripts/emulate-32bit.sh COMMAND [ARGS...]
# The F flag makes the kernel open the emulator now, so that it serves programs in other
# mount namespaces too (Wine's).
set -e
binfmt=/proc/sys/fs/binfmt_misc
mounted=""
registered=""
emulation_end() {
  if [ -n "$registered" ]; then echo -1 >"$binfmt/qemu-i386"; fi
  if [ -n "$mounted" ]; then umount "$binfmt"; fi
}
trap emulation_end EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt"
  mounted=1
fi
if [ ! -e "$binfmt/qemu-i386" ]; then
  printf '%s\n' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
    >"$binfmt/register"
  registered=1
fi
"$@"
