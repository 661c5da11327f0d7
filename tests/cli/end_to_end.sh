#!/usr/bin/env bash
# Runs korvale-cli as a user would, on the fixture pages, and compares what it
# prints and its exit status with the expected files:
#   end_to_end.sh [RUNNER] CLI      (RUNNER: cmake/wine-run for the Windows build)
# With the web client built, it also downloads the fixture from a loopback
# server of its own and checks the download prints the same.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=("$@")
fixtures=$here/fixtures expected=$here/expected
scratch=$(mktemp -d)
server=
cleanup() {
  if [[ -n $server ]]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
# A first run sets up a new Wine prefix, which Wine reports on standard error.
"${cli[@]}" --version >/dev/null 2>&1 || true

# check NAME STATUS STDERR-PATTERN ARGS...: compares stdout with expected/NAME
# (when that file exists), the exit status, and stderr with a glob pattern.
check() {
  local name=$1 want_status=$2 want_err=$3
  shift 3
  local status=0
  "${cli[@]}" "$@" >"$scratch/out" 2>"$scratch/err" || status=$?
  local err
  err=$(tr -d '\r' <"$scratch/err")
  if [[ $status -ne $want_status ]]; then
    echo "FAIL $name: exit status $status, expected $want_status"
    failures=$((failures + 1))
  elif [[ -f $expected/$name ]] && ! cmp -s "$scratch/out" "$expected/$name"; then
    echo "FAIL $name: output differs from expected/$name:"
    diff <(od -c "$expected/$name") <(od -c "$scratch/out") | head -20
    failures=$((failures + 1))
  elif [[ $err != $want_err ]]; then
    echo "FAIL $name: standard error was: $err"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

check awkward.table 0 "" --page "$fixtures/awkward.html"
check awkward.tsv 0 "" --page "$fixtures/awkward.html" --format tsv
check awkward.csv 0 "" --page "$fixtures/awkward.html" --format=csv
check awkward.json 0 "" --format json --page "$fixtures/awkward.html"
check unmatched.table 1 "korvale-cli: no entries: the page did not match the ranking markup (*)" \
  --page "$fixtures/unmatched.html"
: >"$scratch/empty.html"
check empty.json 1 "korvale-cli: *empty.html is empty" --page "$scratch/empty.html" --format json
check missing 2 "korvale-cli: cannot read *missing.html: no such file" --page "$scratch/missing.html"
check directory 2 "korvale-cli: cannot read *: it is a directory" --page "$scratch"
check usage 2 "korvale-cli: unknown option --frmat*Try korvale-cli --help." --frmat csv
check version 0 "" --version
check help 0 "" --help
check open-past-end 1 "korvale-cli: there is no entry 4: the page lists 3 entries" \
  --page "$fixtures/awkward.html" --open 4

# Nothing listens on port 9 here: the download comes back empty.
check refused 1 "korvale-cli: the download of http://127.0.0.1:9/ranking came back empty" \
  --url http://127.0.0.1:9/ranking

# The fixture served over loopback prints the same as the saved file.
if command -v python3 >/dev/null; then
  python3 -c '
import functools, http.server, os, sys, threading
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args): pass
handler = functools.partial(Quiet, directory=sys.argv[1])
with http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler) as s:
    open(sys.argv[2] + ".tmp", "w").write(str(s.server_address[1]))
    os.rename(sys.argv[2] + ".tmp", sys.argv[2])
    threading.Timer(120, s.shutdown).start()  # stops by itself if left behind
    s.serve_forever()
' "$fixtures" "$scratch/port" &
  server=$!
  for _ in $(seq 100); do [[ -f $scratch/port ]] && break; sleep 0.1; done
  check awkward.csv 0 "" --url "http://127.0.0.1:$(cat "$scratch/port")/awkward.html" --format csv
fi

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all end-to-end checks passed"
