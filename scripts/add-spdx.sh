#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Puts the SPDX licence line at the top of every tracked C++ source and
# header, shell script and CMake file that has none yet (after the #! line
# of a script). Safe to run again, e.g. after a merge brings new files.
set -euo pipefail
cd "$(dirname "$0")/.."
licence=MIT
git ls-files -z -- '*.cpp' '*.h' '*.h.in' '*.sh' '.ci/run' '*CMakeLists.txt' '*.cmake' |
    while IFS= read -r -d '' file; do
        head -n 2 "$file" | grep -q 'SPDX-License-Identifier:' && continue
        case "$file" in
            *.cpp | *.h | *.h.in) line="// SPDX-License-Identifier: $licence" ;;
            *) line="# SPDX-License-Identifier: $licence" ;;
        esac
        if [ "$(head -c 2 "$file")" = "#!" ]; then
            sed -i "1a $line" "$file"
        else
            sed -i "1i $line" "$file"
        fi
        echo "$file"
    done
