#!/usr/bin/env bash
# Sources the bash completion of pb-sourcetrek-report and asks it for the candidates of
# typical command lines, as bash does on a Tab: COMP_WORDS and COMP_CWORD set, the
# completion function called, COMPREPLY read. The completion asks the program (found on
# PATH as bash would) for its listings.
#   check_completion.sh COMPLETION REPORT_TOOL
set -euo pipefail
source "$1"
PATH="$(dirname "$(realpath "$2")"):$PATH"
[[ $(complete -p pb-sourcetrek-report) == *"-F _pb_sourcetrek_report"* ]] ||
  { echo "FAIL: no completion registered"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
touch main.pb other.pbi "a b.pb"
mkdir "my project"

status=0
# expect "WORD..." -- CANDIDATE...: the words typed (the last one being completed) and the
# candidates expected, in any order.
expect() {
  local words=() wanted=()
  while [ "$1" != "--" ]; do words+=("$1"); shift; done
  shift
  wanted=("$@")
  COMP_WORDS=(pb-sourcetrek-report "${words[@]}")
  COMP_CWORD=${#words[@]}
  COMPREPLY=()
  _pb_sourcetrek_report
  local got expected
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
  expected=$(printf '%s\n' "${wanted[@]}" | sort)
  if [ "$got" != "$expected" ]; then
    echo "FAIL: '${words[*]}' gave [${COMPREPLY[*]}], expected [${wanted[*]}]"
    status=1
  fi
}

expect "" -- --help --version --json --grep --dot --find-main files procedures calls all-calls declares terms lookup unused declare-check callees tree
expect c -- calls callees
expect - -- --help --version --json --grep --dot --find-main
expect --json a -- all-calls
expect --grep - -- --find-main
expect --find-main --json - --
expect --json --h --
expect --help "" --
expect -V "" --
expect tree main.pb Main - -- --callers --depth
expect tree main.pb Main --callers - -- --depth
expect tree main.pb Main --depth "" --
expect callees main.pb Main - --
expect calls m -- main.pb "my project"
expect --grep terms a -- "a b.pb"
expect files "" -- main.pb other.pbi "a b.pb" "my project"
expect calls main.pb "" --
expect procedures main.pb Fo --
expect declare-check main.pb "" -- --fix
expect --grep declare-check main.pb - -- --fix
expect unused main.pb "" --
exit $status
