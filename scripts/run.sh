#!/usr/bin/env bash
# Set up, build, and open the window on the sample game folder (build/game).
source "$(dirname "$0")/setup.sh"
cd "$repo_root"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs" --target config
exec build/game/config
