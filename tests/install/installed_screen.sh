#!/bin/sh
# The installed tools from an empty folder: a sample market, a server on free
# ports, and a screening by the installed orbe-terminal that must screen.
set -eu
prefix=$1
work=$2
rm -rf "$work" && mkdir -p "$work/empty"
"$prefix/bin/orbe-dataserver" --make-sample "$work/market.db" --scale 0.002 >/dev/null
"$prefix/bin/orbe-dataserver" --db "$work/market.db" --port 0 --file-port 0 --log-level warn >"$work/ports" 2>/dev/null &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ "$(wc -l <"$work/ports")" -ge 2 ] && break; sleep 0.1; done
data=$(sed -n 's/^listening on 127.0.0.1://p' "$work/ports")
files=$(sed -n 's/^file server listening on 127.0.0.1://p' "$work/ports")
cd "$work/empty"
"$prefix/bin/orbe-terminal" screen --server "127.0.0.1:$data" --files "127.0.0.1:$files" --market "$work/market.db" \
  --home "$work/home" --scheme 1 >"$work/screen.out" 2>&1 || { cat "$work/screen.out"; exit 1; }
grep -q "$(printf '\351\200\211\344\270\255')" "$work/screen.out" || { cat "$work/screen.out"; exit 1; }
[ -z "$(ls -A "$work/empty")" ] || { echo "the screening wrote into the current folder"; exit 1; }
echo "the installed orbe-terminal screened from an empty folder"
