# Shared by the scripts: installs what is missing and builds into build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ROOT}/build"

# Debian packages the editor needs to build, run and be tested.
PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    qt6-translations-l10n
    qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
    libhunspell-dev hunspell-es
    libtidy-dev libtidy5deb1
    xvfb xauth xdotool imagemagick fonts-dejavu-core poppler-utils
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Hace falta ser root (o tener sudo) para instalar: $*" >&2
        return 1
    fi
}

install_missing() {
    local missing=()
    local package
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "${package}" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("${package}")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Instalando: ${missing[*]}"
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# Builds everything, or only the targets given (as "--target NAME").
build() {
    cmake -S "${ROOT}" -B "${BUILD}" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
    cmake --build "${BUILD}" -j"${JOBS:-2}" "$@"
}
