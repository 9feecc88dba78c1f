#!/bin/sh
# Decides how the tests run the i686 build's programs (the product people download), on
# one line of standard output:
#   native             this host runs 32-bit code (scripts/host-runs-32bit.sh);
#   emulated: REASON   it does not, and they run under qemu-user emulation: as root, with
#                      binfmt_misc mountable and qemu-user installed or installable
#                      (scripts/emulate-32bit.sh sets the emulation up for one command);
#   none: REASON       neither.
# VANTOR_NO_32BIT=1 answers none on any host; VANTOR_EMULATE_32BIT=1 answers emulated on
# any host where the emulation can be set up, so that every path can be tried anywhere.
# Where a qemu-i386 handler is registered already, 32-bit programs run, but emulated.
cd "$(dirname "$0")"
binfmt=/proc/sys/fs/binfmt_misc
if ! reason=$(./host-runs-32bit.sh); then
  [ "${VANTOR_NO_32BIT:-}" = 1 ] && { echo "none: $reason"; exit 0; }
elif [ -e "$binfmt/qemu-i386" ]; then
  echo "emulated: a qemu-i386 handler is registered"
  exit 0
elif [ "${VANTOR_EMULATE_32BIT:-}" = 1 ]; then
  reason="VANTOR_EMULATE_32BIT=1 is set"
else
  echo native
  exit 0
fi

# binfmt_misc_mountable: mounted already, or mounted and unmounted again here.
binfmt_misc_mountable() {
  [ -e "$binfmt/register" ] || { mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null && umount "$binfmt"; }
}
if [ "$(id -u)" != 0 ]; then
  echo "none: $reason, and emulating it needs root"
elif ! binfmt_misc_mountable; then
  echo "none: $reason, and binfmt_misc cannot be mounted to emulate it"
elif [ ! -x /usr/bin/qemu-i386 ] && ! apt-cache policy qemu-user 2>/dev/null | grep -q 'Candidate: [0-9]'; then
  echo "none: $reason, and qemu-user cannot be installed to emulate it"
else
  echo "emulated: $reason"
fi
