#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Packages already installed are left alone, so when nothing is missing this
# needs neither root nor the network.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
    build-essential cmake ninja-build pkg-config
    clang libclang-rt-14-dev
    qt6-base-dev libgl-dev
    libsqlite3-dev sqlite3
    libssl-dev openssl ca-certificates
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-aiosmtpd
    fonts-dejavu-core fonts-liberation2
)
missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
((${#missing[@]})) || exit 0
if ((EUID != 0)); then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Run this as root to install them: bash $0" >&2
    exit 1
fi
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
