#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS seconds
# (60 when not given), then prints how many inputs each one ran. An input that breaks a
# target is kept in build-fuzz/crashes/<target>/; inputs that reached new code are kept in
# build-fuzz/corpus/<target>/ and are run again next time.
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

# One seed file: its folder, its name, then its bytes with backslash escapes (\r, \0, \xHH).
seed() {
    mkdir -p "$1"
    printf '%b' "$3" >"$1/$2"
}

# text repeated count times.
repeat() {
    local result='' i
    for ((i = 0; i < $2; ++i)); do result+="$1"; done
    printf '%s' "${result}"
}

# ReplaceString's input: the keyword's and the replacement's lengths as two bytes, then the
# keyword, the replacement and the text in UTF-16.
replace_seed() {
    local dir="$1" name="$2" keyword="$3" replacement="$4" text="$5"
    mkdir -p "${dir}"
    {
        printf "\\x$(printf %02x "${#keyword}")\\x$(printf %02x "${#replacement}")"
        printf '%s%s%s' "${keyword}" "${replacement}" "${text}" | iconv -f UTF-8 -t UTF-16LE
    } >"${dir}/${name}"
}

make_seeds() {
    local seeds="$1"
    rm -rf "${seeds}"
    local pages="${seeds}/pages"
    seed "${pages}" tags '<html><head><title>Hola</title></head>\r\n<body bgcolor="#FFFFFF">\r\n<p><b>Negrita</b> <a href="a.html">enlace</a></p>\r\n<img src="f.jpg" alt="Una foto">\r\n</body></html>\r\n'
    seed "${pages}" unclosed '<p>texto <b sin cierre\r\n< > <<>> <!-- comentario --> <SCRIPT>x<y</SCRIPT>'
    seed "${pages}" server '<%\r\nResponse.Write "<b>"\r\n%>\r\n<form><input type=text value="año"></form>'
    seed "${pages}" entities '<p title="canci&oacute;n">El ni&ntilde;o comi&#243; &amp; bebi&#xF3; ma&ntilde;ana</p>\r\n<p>correo@ejemplo.es http://ejemplo.es/x palabra2 d&iacute;a</p>'
    seed "${pages}" style '<style>p { color: red }</style><script>var a = "<b>";</script><p>Él dijo: “sí”, l\xe2\x80\x99amour</p>'
    seed "${pages}" accents '<P>Canción, pingüino, ÁRBOL y \xf0\x9f\x98\x80</P>\n<br>\r'
    seed "${pages}" after-sharp-s 'Stra\xc3\x9fe \xef\xac\x81n<b>x</b>'
    # Pages made to hurt, at the size a fuzzer input has: only "<", nested tags on one line,
    # a tag opened far back, lone LF line ends, long lines of tags.
    seed "${pages}" less-thans "$(repeat '<' 4000)"
    seed "${pages}" nested-tags "$(repeat '<div>' 400)$(repeat '</div>' 400)"
    seed "${pages}" far-tag "<b $(repeat 'texto sin etiquetas\r\n' 200)>"
    seed "${pages}" lf-lines "$(repeat '<p>linea <b>uno</b></p>\n' 150)"
    seed "${pages}" long-line "$(repeat '<td><a href="x.asp?id=1">texto</a></td>' 100)"
    # Longer than a line is shown whole: held in parts, a tag across each cut.
    seed "${pages}" held-line "$(repeat '<td><a href="x.asp?id=1">texto</a></td>' 150)"

    local files="${seeds}/files"
    seed "${files}" empty ''
    local all=''
    for ((i = 0; i < 256; ++i)); do all+="\\x$(printf %02x "${i}")"; done
    seed "${files}" all-bytes "${all}"
    seed "${files}" cr-lines '<p>\ra\rb'
    seed "${files}" crlf-lines '<p>\r\na\r\n'
    seed "${files}" lone-lf 'a\nb\r\nc'
    seed "${files}" nul-bytes '\0a\0\r\n\0'
    seed "${files}" final-cr 'a\r'
    seed "${files}" utf8 '<p>a\xc3\xb1o \xe2\x82\xac</p>\r\n'
    seed "${files}" utf8-bom '\xef\xbb\xbf<p>a\xc3\xb1o</p>\r\n'
    seed "${files}" utf8-cut-short 'a\xc3\r\n\xe2\x82'
    seed "${files}" windows-1252 '<p>Espa\xf1a, ping\xfcino, \x80 10</p>\r\n'
    seed "${files}" separators 'a\xe2\x80\xa8b\xe2\x80\xa9c'
    if command -v convert >/dev/null 2>&1; then
        convert -size 8x8 gradient:red-blue "jpg:${files}/photo.jpg"
    fi
    cp "${pages}"/* "${files}/"

    mkdir -p "${seeds}/fuzz_documentfile" "${seeds}/fuzz_colouring" "${seeds}/fuzz_readablewords"
    cp "${files}"/* "${seeds}/fuzz_documentfile/"
    cp "${pages}"/* "${seeds}/fuzz_colouring/"
    cp "${pages}"/* "${seeds}/fuzz_readablewords/"
    local replace="${seeds}/fuzz_replacestring"
    replace_seed "${replace}" word 'ab' 'xyz' 'ab cab abab a'
    replace_seed "${replace}" grows 'a' 'aa' 'banana'
    replace_seed "${replace}" empty-keyword '' 'x' 'abc'
    replace_seed "${replace}" line-break $'\r\n' '<br>' $'uno\r\ndos\r\n'
    replace_seed "${replace}" accents 'ñ' 'n' 'año, niño'
    rm -rf "${pages}" "${files}"
}

install_fuzz_tools
CC=clang CXX=clang++ cmake -S "${ROOT}" -B "${FUZZ_BUILD}" -DZENDRAL_BUILD_FUZZERS=ON \
    -DZENDRAL_BUILD_TESTS=OFF -DZENDRAL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "${FUZZ_BUILD}" -j"${JOBS:-2}" --target "${TARGETS[@]}"

make_seeds "${FUZZ_BUILD}/seeds"
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
    "${FUZZ_BUILD}/fuzz/${target}" -max_total_time="${RUN_SECONDS}" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=4096 -artifact_prefix="${crashes}/" "${options[@]}" \
        "${corpus}" "${FUZZ_BUILD}/seeds/${target}" >"${log}" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "${log}" | tail -1)"
    if [ "${status}" -ne 0 ]; then
        failed=1
        summary+=("${target}: FALLO tras ${runs:-?} ejecuciones; entrada en ${crashes}/, registro en ${log}")
        grep -E 'property broken|ERROR: AddressSanitizer|ERROR: libFuzzer|SUMMARY' "${log}" | head -5 || true
    else
        summary+=("${target}: ${runs:-?} ejecuciones sin fallos")
    fi
done
echo
printf '%s\n' "${summary[@]}"
exit "${failed}"
