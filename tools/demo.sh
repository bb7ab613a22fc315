#!/usr/bin/env bash
# Installs what is missing, builds the program, writes a fresh demo database and starts the
# program on it: the purge window when there is a display, otherwise a complete purge in
# batch mode (fiscal year 2021 of the demo data, confirmed with --yes).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
dir="$root/build/normal"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "${JOBS:-2}" --target depuraciones depuraciones-demo
db="$root/build/demo/demo.db"
mkdir -p "$(dirname "$db")"
"$dir/src/demo/depuraciones-demo" --replace "$db"
params="@Server=local;@DbName=$db;@Usuario=admin;@Password=;@UsuarioLogeado=admin;"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${1:-}" != "--batch" ]; then
  exec "$dir/src/app/depuraciones" "$params"
fi
echo "Sin pantalla: depuración completa en modo lote del ejercicio 2021." >&2
exec "$dir/src/app/depuraciones" --batch --fiscal-year 2021 --yes "$params"
