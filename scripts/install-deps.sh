#!/bin/sh
# Installs the Debian 12 packages that Vell needs to build, test and run, skipping those
# already present. Run as root.
set -e
packages="g++ cmake ninja-build libgtest-dev libbenchmark-dev qt6-base-dev qt6-base-dev-tools
          qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools libgl-dev clang-format fonts-ipafont-gothic qt6-translations-l10n xvfb xauth"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
