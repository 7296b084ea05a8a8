#!/bin/sh
# wine-run.sh BUILD_DIR PROGRAM [ARGS...]: runs a Windows program under Wine in the
# prefix of that build folder. ctest uses it as the cross-compiling emulator.
BUILD_DIR=$1
shift
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
