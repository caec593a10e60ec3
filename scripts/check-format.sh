#!/usr/bin/env bash
# Fails when a C++ file of the repository is not formatted as .clang-format says. With
# arguments, checks only those files (for example the files a change touched).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
[ ${#files[@]} -eq 0 ] && exit 0
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Some files are not formatted: run clang-format -i on them." >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files formatted as .clang-format says"
