#!/usr/bin/env bash
# Fails, naming each line, where a tracked C++ file is not laid out as
# .clang-format says. Usage: check_format.sh [FILE...] (default: every
# tracked .cpp and .h file).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  clang-format-14 --dry-run -Werror "$@"
else
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror
fi
