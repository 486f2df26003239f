#!/usr/bin/env bash
# Installs what is missing, builds (optimised), and runs the benchmark program offscreen.
#   scripts/bench.sh                    the page table (sizes=1,10,50 runs=3 to change it)
#   scripts/bench.sh hostile [quick]    pages made to hurt beside a normal page (quick: not
#                                       those that take seconds); longlines: typing on long lines
#   scripts/bench.sh aids               the writing aids on beside off, and Revisar página
#   scripts/bench.sh find               Reemplazar todo and Buscar en archivos beside grep -c,
#                                       and typing with the find dialog open
#   scripts/bench.sh preview            typing with "Previsualizar al escribir" on and off, 1 MB,
#                                       under Xvfb
#   scripts/bench.sh --peers[=kate]     Zendral beside geany (and kate), and a bare Qt text
#                                       widget, each launched with the same page under Xvfb
#                                       (sizes=1,10 runs=3 apply here too)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
BUILD_TYPE=Release
BUILD="${ROOT}/build-bench"
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"

peers=""
rest=()
for argument in "$@"; do
    case "${argument}" in
        --peers) peers="geany" ;;
        --peers=*) peers="geany,${argument#--peers=}" ;;
        *) rest+=("${argument}") ;;
    esac
done

if [ "${rest[0]:-}" = "preview" ]; then
    # The preview's browser needs a display of its own.
    PACKAGES=(xvfb xauth)
    install_missing
    build --target zendral_bench
    QT_QPA_PLATFORM=xcb exec "${ROOT}/tests/xserver.sh" "${BUILD}/bench/zendral_bench" preview
fi

if [ -z "${peers}" ]; then
    build --target zendral_bench
    QT_QPA_PLATFORM=offscreen exec "${BUILD}/bench/zendral_bench" "${rest[@]}"
fi

# The editors compared, and what drives them, are needed by this run only.
PACKAGES=(xvfb xauth xdotool python3)
IFS=',' read -ra editors <<<"${peers}"
for editor in "${editors[@]}"; do
    case "${editor}" in
        geany | kate) PACKAGES+=("${editor}") ;;
        *) echo "Editor desconocido: ${editor} (geany, kate)" >&2; exit 2 ;;
    esac
done
install_missing
build --target zendral zendral_bench zendral_bareviewer
exec python3 "${ROOT}/bench/peers.py" --build "${BUILD}" --editors "${peers}" "${rest[@]}"
