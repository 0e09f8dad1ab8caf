#!/usr/bin/env bash
# Builds Kobako in Release and prints its figures: the core benchmarks, then the whole program
# under Xvfb, measured with the clipboard owner in ../shared/tools/clipbench (and through sway's
# data control, where the program is built with Wayland). BENCH_ONLY=startup
# prints only the start-up figures, BENCH_ONLY=blocks only the window's pauses and the memory
# figures with large texts, BENCH_ONLY=latency the capture latency on both paths,
# BENCH_ONLY=hostile the rounds of hostile clipboard owners
# (HOSTILE_ROUNDS of each, 100 by default). The start-up figures include the Windows program's
# under wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
install_missing_packages "${KOBAKO_BUILD_PACKAGES[@]}" "${KOBAKO_TEST_PACKAGES[@]}" libx11-dev
build="$here/build-bench"
# With the tests configured, for their misbehaving clipboard owner (an endless transfer).
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKOBAKO_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target kobako kobako_bench kobako_map_watch kobako_qt_floor kobako_ui_ping \
    test_owner -j"$(nproc)" >/dev/null
# The Wayland clipbench exists where the program is built with Wayland; sway then runs the rounds.
wayland_clipbench=
if cmake --build "$build" --target kobako_wayland_clipbench >/dev/null 2>&1; then
    wayland_clipbench="$build/bench/kobako_wayland_clipbench"
fi

clipbench_source=${CLIPBENCH_DIR:-"$here/../shared/tools/clipbench"}
mkdir -p "$build/clipbench"
cc -O2 -Wall -Wextra -o "$build/clipbench/clipbench" "$clipbench_source/clipbench.c" -lX11 -lm

if [ -z "${BENCH_ONLY:-}" ]; then
    echo "== Core (Google Benchmark)"
    "$build/bench/kobako_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        2>/dev/null | grep -E "_(median|min|max) |^Benchmark|^-" || true
    echo
fi
if [ "${BENCH_ONLY:-}" = hostile ]; then
    echo "== Hostile clipboard owners against the whole program"
    KOBAKO="$build/app/kobako" TEST_OWNER="$build/tests/platform/test_owner" \
        python3 "$here/scripts/hostile_rounds.py"
    exit
fi
# The Windows program, under wine in a prefix of its own, where it can be built (BENCH_WINDOWS=0
# leaves it out).
windows_program=
if [ "${BENCH_WINDOWS:-1}" = 1 ] && [ -z "${BENCH_ONLY:-}" -o "${BENCH_ONLY:-}" = startup ]; then
    windows_program=$(bash "$here/scripts/build-windows.sh" | tail -n 1)
    export WINEPREFIX="$build/wine" WINEDEBUG=-all
fi
echo "== Whole program under Xvfb (medians of 5 runs, min and max)"
KOBAKO_WINDOWS="$windows_program" KOBAKO="$build/app/kobako" CLIPBENCH="$build/clipbench/clipbench" \
    MAP_WATCH="$build/bench/kobako_map_watch" QT_FLOOR="$build/bench/kobako_qt_floor" \
    UI_PING="$build/bench/kobako_ui_ping" TEST_OWNER="$build/tests/platform/test_owner" \
    WAYLAND_CLIPBENCH="$wayland_clipbench" python3 "$here/scripts/bench_program.py"
