# Measures the proportions that the real-shaped generator copies, on PureBasic code given
# twice (the first pass collects the procedure names):
#   awk -f bench/measure_shape.awk FILE FILE
FNR == NR {
  if (match($0, /^[ \t]*Procedure[.a-zA-Z]* +[A-Za-z_0-9]+\(/)) {
    head = substr($0, RSTART, RLENGTH - 1)
    n = split(head, parts, /[ \t]+/)
    names[parts[n]] = 1
  }
  next
}
{
  total++
  code = $0
  sub(/;.*/, "", code)
  if ($0 ~ /^[ \t]*$/) blank++
  if ($0 ~ /^[ \t]*;/) comment++
  if ($0 ~ /ProcedureReturn/) returns++
  if (length($0) > 150) long++
  if ($0 ~ /^[ \t]*Procedure[A-Za-z]/ && $0 !~ /ProcedureReturn|ProcedureC|ProcedureDLL/) nonhead++
  calls = 0
  builtin = 0
  while (match(code, /[A-Za-z_][A-Za-z_0-9:]*\(/)) {
    word = substr(code, RSTART, RLENGTH - 1)
    sub(/.*::/, "", word)
    if (word in names) calls++
    else builtin++
    code = substr(code, RSTART + RLENGTH)
  }
  if ($0 ~ /^[ \t]*Procedure[. ]/) calls = 0
  calling[calls > 4 ? 5 : calls]++
  if (builtin) builtin_lines++
}
END {
  printf "lines %d: blank %.1f%%, comment %.1f%%, ProcedureReturn %.1f%%, longer than 150 %.1f%%, ", total,
    100 * blank / total, 100 * comment / total, 100 * returns / total, 100 * long / total
  printf "\"Procedure...\" no head %.1f%%, calling builtins %.1f%%\n", 100 * nonhead / total,
    100 * builtin_lines / total
  for (k = 1; k <= 5; k++) {
    printf "lines calling %d%s procedures of the project: %.1f%%\n", k, k == 5 ? " or more" : "",
      100 * calling[k] / total
  }
}
