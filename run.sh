#!/usr/bin/env bash
# Builds the tool and starts it. Installs what is missing first, and puts a demo book.mdb
# beside the program when there is none.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-run -j"$(nproc)"

program_dir=build-run/app
if [ ! -e "$program_dir/book.mdb" ]; then
    build-run/tools/make_store/make_store --path "$program_dir/book.mdb" --password 'kd=73' --demo
    echo "Created a demo database: $program_dir/book.mdb"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: this is a desktop program and needs a graphical session (DISPLAY or WAYLAND_DISPLAY); it was built in $program_dir." >&2
    exit 1
fi
exec "$program_dir/book_code_changer"
