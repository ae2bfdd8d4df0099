#!/usr/bin/env bash
# Checks that the listings and options which `pb-sourcetrek-report --help` names (the help
# is made from the tool's own table) are exactly what its bash completion offers first, and
# that its manual page describes each of them: a listing added to the tool cannot be left
# out of either.
#   check_listings_named.sh REPORT_TOOL COMPLETION MANUAL_PAGE
set -euo pipefail
tool=$1
completion=$2
page=$3
help=$("$tool" --help)
# The words that begin the lines of one block of the help ("Listings:", "Options:").
block() { awk -v title="$1:" '$0 == title { on = 1; next } /^$/ { on = 0 } on' <<<"$help"; }
listings=$(block Listings | awk '{ print $1 }')
options=$(block Options | grep -o -- '--[a-z][a-z-]*')
if [ -z "$listings" ] || [ -z "$options" ]; then
  echo "FAIL: --help names no listings or no options"
  exit 1
fi

status=0
source "$completion"
PATH="$(dirname "$(realpath "$tool")"):$PATH"
COMP_WORDS=(pb-sourcetrek-report "")
COMP_CWORD=1
_pb_sourcetrek_report
offered=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
named=$(printf '%s\n' $listings $options | sort)
if [ "$offered" != "$named" ]; then
  echo "FAIL: the completion offers [${COMPREPLY[*]}], --help names [$(echo $named)]"
  status=1
fi

shown=$(MANWIDTH=200 man -l "$page")
for word in $listings $options; do
  # A described term stands alone at the start of an indented line ("-h, --help" too).
  if ! grep -qE -- "^ {7}(-[a-zA-Z], )?$word( [A-Z]+| \[[^]]*\])*\$" <<<"$shown"; then
    echo "FAIL: the manual page does not describe $word"
    status=1
  fi
done
exit $status
