#!/usr/bin/env bash
# Fails when a tracked C++ file differs from the project's .clang-format, naming the files.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top" || exit 1
drifted=()
while IFS= read -r -d '' file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || drifted+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#drifted[@]} -ne 0 ]; then
    echo "format_check: not formatted as .clang-format says (clang-format -i FILE):"
    printf '  %s\n' "${drifted[@]}"
    exit 1
fi
echo "format_check: every C++ file is formatted"
