#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache clang-format
  qt6-base-dev qt6-translations-l10n fonts-dejavu-core
  zlib1g-dev libjpeg-dev libzip-dev libcurl4-openssl-dev libxlsxwriter-dev libhpdf-dev libsodium-dev
  libgtest-dev libsqlite3-dev sqlite3 xvfb xauth poppler-utils
  python3-aiosmtpd python3-openpyxl python3-dbfread python3-dbf fpc fp-units-db
  strace openssl zbar-tools zip unzip
  qt6-charts-dev
  libssl-dev libxml2-dev libxml2-utils python3-lxml python3-cryptography
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
