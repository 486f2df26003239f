#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package; prints its path.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build
cd "${BUILD}"
cpack -G DEB >&2
package="$(ls -t "${BUILD}"/zendral_*.deb | head -n 1)"
echo "${package}"
