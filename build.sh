#!/usr/bin/env bash
# Sets up a Debian 12 machine for PunTel, builds it and runs it or its tests.
#   ./build.sh run        install what is missing, build (Release), start the program
#   ./build.sh test       install what is missing, build (Release), run every test
#   ./build.sh sanitize   the whole suite built with AddressSanitizer and UBSan
#   ./build.sh tsan       the model tests built with ThreadSanitizer
#   ./build.sh fuzz [S]   build the fuzz targets and run each for S seconds (30)
#   ./build.sh bench      build and run the benchmarks
#   ./build.sh format-check  every C++ file as the tree's .clang-format lays it out
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev
          fonts-dejavu-core fonts-liberation2 clang-14 libclang-rt-14-dev poppler-utils)

install_missing() {
  local missing=() package
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" > /dev/null
  cmake --build "$dir"
}

run_tests() {
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
}

fuzz() {
  local seconds=${1:-30}
  build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 -DPUNTEL_FUZZ=ON
  local target corpus
  for target in build-fuzz/bin/*_fuzz; do
    corpus=build-fuzz/corpus/$(basename "$target")
    mkdir -p "$corpus"
    cp -n fuzz/seeds/$(basename "$target")/* "$corpus"/ 2>/dev/null || true
    echo "== $(basename "$target") for ${seconds}s"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "$corpus" 2>&1 | grep -E '^(stat::number_of_executed_units|==|SUMMARY|INFO: seed)' || true
    # libFuzzer writes crash-* / timeout-* / leak-* files for every failing input.
    if ls crash-* timeout-* leak-* oom-* > /dev/null 2>&1; then
      echo "$(basename "$target") found a failing input"
      exit 1
    fi
  done
}

case "${1:-}" in
  run)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release
    exec build/bin/puntel "${@:2}"
    ;;
  test)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release
    run_tests build
    ;;
  sanitize)
    install_missing
    build build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUNTEL_SANITIZE=ON -DPUNTEL_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitize
    ;;
  tsan)
    # The model alone: palettes are searched from the window's thread and a worker at once.
    install_missing
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUNTEL_TSAN=ON \
      -DPUNTEL_BENCH=OFF > /dev/null
    cmake --build build-tsan --target puntel_data palette_tests composition_tests pattern_tests
    for tests in palette_tests composition_tests pattern_tests; do
      (cd build-tsan/bin && TSAN_OPTIONS=halt_on_error=1 "./$tests")
    done
    ;;
  fuzz)
    install_missing
    fuzz "${2:-30}"
    ;;
  format-check)
    # clang-format-14 is the one Debian 12 ships; its layout is the house style.
    PACKAGES+=(clang-format-14)
    install_missing
    format=$(command -v clang-format-14 || command -v clang-format)
    git ls-files -z '*.cpp' '*.h' | xargs -0 "$format" --dry-run --Werror
    ;;
  bench)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release
    for bench in build/bin/*_bench; do "$bench"; done
    ;;
  *)
    sed -n '2,10p' "$0"
    exit 1
    ;;
esac
