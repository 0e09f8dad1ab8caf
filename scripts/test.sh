#!/usr/bin/env bash
# Installs what is missing, then checks everything: the format of the sources; the core built
# alone, without Qt; the history and settings readers under libFuzzer for a few seconds each; the
# whole program with every test (the core, the windows on the offscreen platform, the platform
# layer and the whole program under Xvfb with xclip and xdotool, the package); the Windows
# program, cross-built, with the core's and the files' tests and the whole program under wine;
# and the Linux tests again built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Arguments go to each ctest run (e.g. -L core).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
install_missing_packages "${KOBAKO_BUILD_PACKAGES[@]}" "${KOBAKO_TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Format"
mapfile -t sources < <(cd "$here" && find app bench core fuzz platform tests ui \
                           -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
(cd "$here" && clang-format --dry-run -Werror "${sources[@]}")

echo "== The core and storage alone, without Qt"
cmake -S "$here" -B "$here/build-core" -DKOBAKO_CORE_ONLY=ON >/dev/null
cmake --build "$here/build-core" -j"$jobs"
(cd "$here/build-core" && ctest --output-on-failure -j"$jobs" "$@")

echo "== The file readers under libFuzzer, briefly (new inputs go to a scratch folder)"
CXX=clang++ cmake -S "$here" -B "$here/build-fuzz" -DKOBAKO_FUZZ=ON -DKOBAKO_CORE_ONLY=ON \
    -DKOBAKO_BUILD_TESTS=OFF >/dev/null
cmake --build "$here/build-fuzz" -j"$jobs"
scratch=$(mktemp -d)
for reader in settings_file history_file; do
    mkdir -p "$scratch/$reader"
    "$here/build-fuzz/fuzz/fuzz_$reader" "$scratch/$reader" "$here/fuzz/corpus/$reader" \
        -max_total_time=15 -print_final_stats=0 2>&1 | tail -n 1
done
rm -rf "$scratch"

echo "== Everything"
cmake -S "$here" -B "$here/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build-test" -j"$jobs"
(cd "$here/build-test" && ctest --output-on-failure -j"$jobs" "$@")

echo "== The Windows program, with its tests under wine in a fresh prefix"
KOBAKO_TEST_OWNER="$here/build-test/tests/platform/test_owner" \
    bash "$here/scripts/build-windows.sh" --tests
wine_prefix=$(mktemp -d)
# No .NET or HTML engine is offered for download: the program needs neither.
export WINEPREFIX=$wine_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
end_wine() {
    wineserver --kill 2>/dev/null || true
    rm -rf "$wine_prefix"
}
trap end_wine EXIT
# The prefix is made by processes that go on after wineboot returns: a test started meanwhile
# fails to start. Once they are done, one server for all the tests' wine processes, and its
# system processes started here: started by a test, they would hold that test's output open, and
# ctest would wait for them to end.
wineboot --init 2>/dev/null
wineserver --wait
wineserver --persistent
wine cmd /c exit </dev/null >/dev/null 2>&1
(cd "$here/build-windows/build" && ctest --output-on-failure -j"$jobs" "$@")
end_wine
trap - EXIT
unset WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

echo "== Everything under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S "$here" -B "$here/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
      -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" -DCMAKE_MODULE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$here/build-sanitize" -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The whole-program tests wait three times as long for the slower program.
export KOBAKO_TEST_SLOWDOWN=3
export LSAN_OPTIONS="suppressions=$here/tests/sanitizer/lsan.supp:print_suppressions=0"
# The package is the same with or without sanitizers; it was checked above.
(cd "$here/build-sanitize" && ctest --output-on-failure -j"$jobs" -LE package "$@")
