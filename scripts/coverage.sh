#!/usr/bin/env bash
# Line and branch coverage of the program's rooms by the tests: the core and storage built alone
# (their own tests), then everything (the whole program under Xvfb too). Builds in
# build-coverage-core and build-coverage; arguments go to each ctest run (e.g. -E window_managers).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
install_missing_packages "${KOBAKO_BUILD_PACKAGES[@]}" "${KOBAKO_TEST_PACKAGES[@]}" gcovr
jobs=$(nproc)

# One line per room: lines and branches covered, in per cent, from this build's data alone (by
# default gcovr searches the whole tree, the other build too). gcovr replaces the file it writes:
# never let it write to /dev/null.
report() {
    local build=$1 rooms=("${@:2}") scratch
    scratch=$(mktemp -d)
    for room in "${rooms[@]}"; do
        gcovr --root "$here" --object-directory "$build" --filter "$here/$room/" \
            --exclude-throw-branches --exclude-unreachable-branches --print-summary \
            --output "$scratch/report.txt" "$build" 2>/dev/null |
            awk -v room="$room" '/^lines:/ {l=$2} /^branches:/ {b=$2} END {printf "  %-9s lines %6s  branches %6s\n", room, l, b}'
    done
    rm -rf "$scratch"
}

run() {
    local build=$1 label=$2
    shift 2
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage \
          -DCMAKE_EXE_LINKER_FLAGS=--coverage "$@" >/dev/null
    cmake --build "$build" -j"$jobs" >/dev/null
    find "$build" -name '*.gcda' -delete
    (cd "$build" && ctest -j"$jobs" --output-on-failure "${ctest_arguments[@]}" >/dev/null) ||
        echo "($label: some tests failed; the figures count what ran)"
    echo "== $label"
}

ctest_arguments=("$@")
run "$here/build-coverage-core" "core and storage alone" -DKOBAKO_CORE_ONLY=ON
report "$here/build-coverage-core" core storage
run "$here/build-coverage" "everything"
report "$here/build-coverage" core storage platform ui app
