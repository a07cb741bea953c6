#!/usr/bin/env bash
# Installs the Debian packages the build needs (run as root).
set -euo pipefail
PACKAGES=(g++ cmake pkg-config libgdk-pixbuf-2.0-dev libgtest-dev libbenchmark-dev
          libfreetype-dev libfontconfig-dev zlib1g-dev libjpeg-dev fonts-dejavu-core clang libclang-rt-14-dev)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
