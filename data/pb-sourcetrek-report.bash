# bash completion for pb-sourcetrek-report: the options and listings first, then file names
# for MAINFILE, then declare-check's --fix and, after a tree's NAME, its options; the TEXT
# of calls, terms, lookup, callees and tree is free and gets no candidates.

_pb_sourcetrek_report() {
  local current=${COMP_WORDS[COMP_CWORD]}
  local listings="files procedures calls all-calls declares terms lookup unused declare-check callees tree"
  local options="--json --find-main --dot"
  local tree_options="--callers --depth"
  local word listing="" operands=0 i
  COMPREPLY=()
  # Options stand before LISTING; each is offered until it has been given.
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if [[ $word == -* ]]; then
      options=" $options "
      options=${options/ $word / }
      tree_options=" $tree_options "
      tree_options=${tree_options/ $word / }
    else
      if [ $operands -eq 0 ]; then listing=$word; fi
      operands=$((operands + 1))
    fi
  done
  case $operands in
    0) mapfile -t COMPREPLY < <(compgen -W "$options $listings" -- "$current") ;;
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
