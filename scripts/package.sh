#!/usr/bin/env bash
# Builds the release: dist/varnel-signin-<version>-win32.zip with the executable, the README
# and SHA256SUMS. Prints the executable's imports and size.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset cross >/dev/null
cmake --build --preset cross --target varnel-signin >/dev/null

version=$(sed -n 's/^project(varnel_signin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="varnel-signin-$version-win32"
exe=build/cross/src/varnel-signin.exe
stage="build/package/$name"
rm -rf "$stage" && mkdir -p "$stage" dist
cp "$exe" "$stage/varnel-signin.exe"
cp README.md "$stage/README.md"
(cd "$stage" && sha256sum varnel-signin.exe README.md > SHA256SUMS)
rm -f "dist/$name.zip"
# Fixed timestamps, so that the same build gives the same archive.
find "$stage" -exec touch -d '2026-01-01 00:00:00' {} +
(cd build/package && zip -q -X -r "$root/dist/$name.zip" "$name")

echo "dist/$name.zip ($(stat -c %s "dist/$name.zip") bytes)"
file "$stage/varnel-signin.exe"
echo "imports:"
i686-w64-mingw32-objdump -p "$stage/varnel-signin.exe" | sed -n 's/^\tDLL Name: /  /p'
echo "size: $(stat -c %s "$stage/varnel-signin.exe") bytes"
cat "$stage/SHA256SUMS"
