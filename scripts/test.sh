#!/usr/bin/env bash
# Builds both sides and runs every test: the portable core natively (with ASan and UBSan),
# then the Windows tests under Wine on a private Xvfb display. Ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# The parsers of the core under libFuzzer, bounded in time; any finding fails the run.
FUZZ_SECONDS=${FUZZ_SECONDS:-15} bash scripts/fuzz.sh

cmake --preset cross >/dev/null
cmake --build --preset cross

source scripts/wine-env.sh
trap wine_down EXIT
wine_up
ctest --preset cross
