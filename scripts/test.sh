#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (offscreen; those that need a
# display under Xvfb).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build
cd "${BUILD}"
ctest --output-on-failure -j"${JOBS:-2}" "$@"
