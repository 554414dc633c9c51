#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into their own build folder
# and runs each, one after the other, for SECONDS seconds (60 by default),
# starting from the target's seed corpus in the repository. Prints per target
# the executions, the coverage reached and the crashes found; the inputs that
# crashed are left in BUILD_DIR/hallazgos/<target>/. Exits non-zero on a crash.
#   scripts/fuzz.sh [SECONDS]      (SEMILLA=N for a repeatable run)
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}
dir=${BUILD_DIR:-build-fuzz}
objetivos=(documento_paquete documento_parte plantilla dialecto valores forma)

CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVO_FUZZ=ON -DTARVO_BENCHMARKS=OFF >/dev/null
cmake --build "$dir" -j"${JOBS:-2}" --target "${objetivos[@]/#/fuzz_}"

# Leaks are findings too: libFuzzer checks each input that allocated more than
# it freed.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

fallos=0
printf '%-18s %12s %8s %7s\n' objetivo ejecuciones cobertura fallos
for o in "${objetivos[@]}"; do
  trabajo="$dir/corpus/$o"
  hallazgos="$dir/hallazgos/$o"
  mkdir -p "$trabajo" "$hallazgos"
  opciones=(-max_total_time="$segundos" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
            -artifact_prefix="$hallazgos/")
  # A fixed seed (SEMILLA) repeats the same run; by default each run differs.
  [ -n "${SEMILLA:-}" ] && opciones+=(-seed="$SEMILLA")
  case $o in documento_*|plantilla) opciones+=(-dict=fuzz/diccionarios/xml.dict) ;; esac
  registro="$dir/$o.log"
  antes=$(find "$hallazgos" -type f | wc -l)
  "$dir/fuzz/fuzz_$o" "${opciones[@]}" "$trabajo" "fuzz/corpus/$o" >"$registro" 2>&1 || true
  ejecuciones=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -1)
  cobertura=$(grep -o 'cov: [0-9]*' "$registro" | tail -1 | cut -d' ' -f2)
  nuevos=$(( $(find "$hallazgos" -type f | wc -l) - antes ))
  printf '%-18s %12s %8s %7s\n' "$o" "${ejecuciones:-?}" "${cobertura:-?}" "$nuevos"
  if [ "$nuevos" -gt 0 ] || grep -q '^==[0-9]*==ERROR\|^SUMMARY: ' "$registro"; then
    fallos=1
    echo "  $o: ver $registro y $hallazgos/" >&2
  fi
done
exit $fallos
