#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
# Only the editor: the test programs are built by scripts/test.sh.
build --target zendral
exec "${BUILD}/src/zendral" "$@"
