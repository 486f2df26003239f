#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS seconds
# (60 when not given) from its seeds in fuzz/seeds/<target>/, then prints how many inputs each
# one ran. An input that breaks a target is copied to fuzz/crashes/<target>/, where the test
# suite replays it at every run until the fault is mended (commit it with the mend); inputs
# that reached new code are kept in build-fuzz/corpus/<target>/ and are run again next time.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

RUN_SECONDS="${1:-60}"
FUZZ_BUILD="${ROOT}/build-fuzz"
TARGETS=(fuzz_documentfile fuzz_colouring fuzz_replacestring fuzz_readablewords)

install_fuzz_tools() {
    install_missing
    local missing=()
    command -v clang++ >/dev/null 2>&1 || missing+=(clang)
    if [ "${#missing[@]}" -eq 0 ]; then
        local runtime
        runtime="$(clang++ --print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a"
        [ -f "${runtime}" ] || missing+=(libclang-rt-14-dev)
    fi
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Instalando: ${missing[*]}"
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

install_fuzz_tools
CC=clang CXX=clang++ cmake -S "${ROOT}" -B "${FUZZ_BUILD}" -DZENDRAL_BUILD_FUZZERS=ON \
    -DZENDRAL_BUILD_TESTS=OFF -DZENDRAL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "${FUZZ_BUILD}" -j"${JOBS:-2}" --target "${TARGETS[@]}"

export LSAN_OPTIONS="suppressions=${ROOT}/fuzz/lsan.supp"
failed=0
summary=()
for target in "${TARGETS[@]}"; do
    corpus="${FUZZ_BUILD}/corpus/${target}"
    crashes="${FUZZ_BUILD}/crashes/${target}"
    log="${FUZZ_BUILD}/${target}.log"
    mkdir -p "${corpus}" "${crashes}"
    echo "== ${target}: ${RUN_SECONDS} s"
    options=()
    # Qt's widgets keep caches that grow input by input: looking for leaks after each one
    # would cost nine runs in ten.
    [ "${target}" = fuzz_colouring ] && options+=(-detect_leaks=0)
    status=0
    touch "${log}.start"
    "${FUZZ_BUILD}/fuzz/${target}" -max_total_time="${RUN_SECONDS}" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=4096 -artifact_prefix="${crashes}/" "${options[@]}" \
        "${corpus}" "${ROOT}/fuzz/seeds/${target}" >"${log}" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "${log}" | tail -1)"
    if [ "${status}" -ne 0 ]; then
        failed=1
        kept="${ROOT}/fuzz/crashes/${target}"
        mkdir -p "${kept}"
        find "${crashes}" -maxdepth 1 -type f -newer "${log}.start" -exec cp {} "${kept}/" \;
        summary+=("${target}: FALLO tras ${runs:-?} ejecuciones; entrada en ${kept}/, registro en ${log}")
        grep -E 'property broken|ERROR: AddressSanitizer|ERROR: libFuzzer|SUMMARY' "${log}" | head -5 || true
    else
        summary+=("${target}: ${runs:-?} ejecuciones sin fallos")
    fi
done
echo
printf '%s\n' "${summary[@]}"
exit "${failed}"
