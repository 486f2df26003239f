#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build
exec "${BUILD}/src/zendral" "$@"
