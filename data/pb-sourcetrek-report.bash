# bash completion for pb-sourcetrek-report: the options and listings first, then file names
# for MAINFILE, then declare-check's --fix and, after a tree's NAME, its options; the TEXT
# of calls, terms, lookup, callees and tree is free and gets no candidates. The listings
# are those that the program's own --help names, so a new listing needs no change here.

# The listings that `program --help` names in its "Listings:" block.
_pb_sourcetrek_report_listings() {
  "$1" --help 2>/dev/null |
    awk '$0 == "Listings:" { on = 1; next } /^$/ { on = 0 } on { print $1 }'
}

_pb_sourcetrek_report() {
  local current=${COMP_WORDS[COMP_CWORD]}
  local listings
  listings=$(_pb_sourcetrek_report_listings "${COMP_WORDS[0]}")
  local formats="--json --grep --dot"
  local options="--find-main"
  local information="--help --version"
  local tree_options="--callers --depth"
  local word listing="" operands=0 i
  COMPREPLY=()
  # Help and version stand alone as the first word; the other options stand before LISTING,
  # each offered until it has been given, and one format at most.
  [ "$COMP_CWORD" -eq 1 ] || information=""
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    case $operands:$word in
      0:-h | 0:--help | 0:-V | 0:--version) return ;;
      0:--json | 0:--grep | 0:--dot) formats="" ;;
      0:--find-main) options="" ;;
      0:-*) ;;
      *:-*)
        tree_options=" $tree_options "
        tree_options=${tree_options/ $word / }
        ;;
      *)
        if [ $operands -eq 0 ]; then listing=$word; fi
        operands=$((operands + 1))
        ;;
    esac
  done
  case $operands in
    0)
      mapfile -t COMPREPLY < <(compgen -W "$information $formats $options $listings" -- "$current")
      ;;
    1)
      # Directories get their "/" and names with blanks stay one word.
      compopt -o filenames 2>/dev/null || true
      mapfile -t COMPREPLY < <(compgen -f -- "$current")
      ;;
    2)
      if [ "$listing" = declare-check ]; then
        mapfile -t COMPREPLY < <(compgen -W "--fix" -- "$current")
      fi
      ;;
    *)
      if [ "$listing" = tree ] && [ "${COMP_WORDS[COMP_CWORD - 1]}" != --depth ]; then
        mapfile -t COMPREPLY < <(compgen -W "$tree_options" -- "$current")
      fi
      ;;
  esac
}

complete -F _pb_sourcetrek_report pb-sourcetrek-report
