#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    qt6-base-dev libgl-dev \
    libsqlite3-dev sqlite3 \
    libssl-dev openssl ca-certificates \
    libgtest-dev libgmock-dev libbenchmark-dev \
    python3 python3-aiosmtpd \
    fonts-dejavu-core fonts-liberation2
