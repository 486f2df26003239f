#!/usr/bin/env bash
# Installs what is missing, builds (optimised), and runs the benchmark program offscreen.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
BUILD_TYPE=Release
BUILD="${ROOT}/build-bench"
build
QT_QPA_PLATFORM=offscreen "${BUILD}/bench/zendral_bench" "$@"
