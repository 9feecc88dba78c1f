#!/bin/sh
# The one place that decides whether 32-bit Windows programs (the i686 build) run on this
# host. Hosts of the same kind differ: some kernels execute no 32-bit code at all, although
# 32-bit Wine installs cleanly, so the answer comes from running the 32-bit Wine loader,
# not from the package list. Exit status 0 when they run; otherwise 1, with the reason on
# standard output.
#
# VANTOR_NO_32BIT=1 makes a host that runs them answer as one that does not, so that the
# builds and tests can be tried on the path such a host takes.
if [ "${VANTOR_NO_32BIT:-}" = 1 ]; then
  echo "VANTOR_NO_32BIT=1 is set"
  exit 1
fi
if ! failure=$(/usr/lib/wine/wine --version 2>&1 >/dev/null); then
  echo "this host does not run the 32-bit Wine loader (${failure##*: })"
  exit 1
fi
