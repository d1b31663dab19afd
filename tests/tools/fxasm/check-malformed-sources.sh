#!/usr/bin/env bash
# Runs the effect tool on every malformed source and checks that it refuses each one: exit code
# 1, a message "<file>:<line>: ..." with the expected text, and no output file. The first line of
# each source says what is expected:  // expect: <line>: <text>
#   check-malformed-sources.sh <sources dir> <scratch dir> <tool command...>
set -uo pipefail
sources=${1:?sources dir}; scratch=${2:?scratch dir}; shift 2
mkdir -p "$scratch"
status=0
for source in "$sources"/*.fx; do
  name=$(basename "$source" .fx)
  expect=$(sed -n '1s|^// expect: ||p' "$source")
  line=${expect%%: *}
  text=${expect#*: }
  output="$scratch/$name.fxo"
  rm -f "$output"
  message=$("$@" "$source" "$output" 2>&1)
  rc=$?
  problem=""
  if [ -z "$expect" ]; then problem="no '// expect:' line"
  elif [ "$rc" -ne 1 ]; then problem="exit code $rc, not 1"
  elif [[ "$message" != *"$source:$line: "* ]]; then problem="no message naming $source:$line"
  elif [[ "$message" != *"$text"* ]]; then problem="message lacks \"$text\""
  elif [ -e "$output" ]; then problem="an output file was written"
  fi
  if [ -n "$problem" ]; then
    echo "FAIL $name: $problem"; echo "  tool said: $message"; status=1
  else
    echo "ok   $name: ${message%%$'\n'*}"
  fi
done
exit $status
