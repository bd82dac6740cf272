#!/usr/bin/env bash
# Installs what is missing, builds the release program and starts it.
# Arguments are handed to the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRHYTHMORA_TESTS=OFF
cmake --build "$root/build/release"
exec "$root/build/release/bin/rhythmora" "$@"
