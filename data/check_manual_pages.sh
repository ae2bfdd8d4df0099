#!/usr/bin/env bash
# Checks each gzipped manual page given: `man -l` shows it with its name in the header and
# in the NAME section, and neither man nor groff with all warnings on has anything to say.
set -euo pipefail
status=0
fail() { echo "FAIL $page: $*"; status=1; }
for page in "$@"; do
  name=$(basename "$page" .1.gz)
  errors=$(mktemp)
  shown=$(MANWIDTH=80 man --warnings -l "$page" 2>"$errors")
  [ -n "$shown" ] || fail "man shows nothing"
  [[ $(head -n 1 <<<"$shown") == "$name(1) "* ]] || fail "header is not $name(1): $(head -n 1 <<<"$shown")"
  grep -A 1 '^NAME$' <<<"$shown" | grep -q "^ *$name - " || fail "NAME does not start with $name -"
  [ ! -s "$errors" ] || fail "man warns: $(cat "$errors")"
  warnings=$(gzip -dc "$page" | groff -ww -z -man 2>&1)
  [ -z "$warnings" ] || fail "groff warns: $warnings"
  rm -f "$errors"
done
exit $status
