#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only those missing.
# Packages named as arguments are installed along (tools/fuzz.sh adds its compiler so).
set -euo pipefail
packages=(
  g++ cmake ninja-build ccache clang-format pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev odbcinst tdsodbc libsqliteodbc
  libgtest-dev libgmock-dev
)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  echo "Installing: ${missing[*]}" >&2
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
