# SPDX-License-Identifier: GPL-3.0-or-later
# The table of figures printed by bench/run.sh, and the arithmetic it needs.

table=()
failures=0

calc() { awk "BEGIN { print $* }"; }

# column_median COLUMN SCALE: the median of one column of stdin, times SCALE.
column_median() {
  awk -v c="$1" '{ print $c }' | sort -g | awk -v s="$2" '{ v[NR] = $1 } END {
    if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2] * s; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 * s }'
}

# bench_ms FILE NAME FIELD: a benchmark's median (its only run when there
# is no median) of real_time or cpu_time, in milliseconds.
bench_ms() {
  awk -v median="\"$2_median\"," -v single="\"$2\"," -v field="\"$3\":" '
    $1 == "\"name\":" { inside = ($2 == median) ? 2 : ($2 == single) ? 1 : 0 }
    inside && $1 == field { time = $2 + 0 }
    inside && $1 == "\"time_unit\":" { u = $2; gsub(/[",]/, "", u);
      value[inside] = time * ((u == "ns") ? 1e-6 : (u == "us") ? 1e-3 : (u == "s") ? 1e3 : 1); inside = 0 }
    END { print (2 in value) ? value[2] : (1 in value) ? value[1] : "nan" }' "$1"
}

# A value as shown: small milliseconds as microseconds or nanoseconds.
shown() {
  awk -v v="$1" -v u="$2" 'BEGIN {
    if (v == "") { print ""; exit } if (v == "nan") { print "nan"; exit }
    if (u == "ms" && v < 0.1) { v *= 1000; u = "µs" }
    if (u == "µs" && v < 0.1) { v *= 1000; u = "ns" }
    if (v >= 100) printf "%.0f %s", v, u; else if (v >= 10) printf "%.1f %s", v, u; else printf "%.2f %s", v, u }'
}

# figure WHAT WALL CPU UNIT OP LIMIT: one row; OP is "<", ">=" or "-" (no
# target); the verdict is taken on WALL, CPU may be empty.
figure() {
  local what="$1" wall="$2" cpu="$3" unit="$4" op="$5" limit="$6" verdict target="—"
  verdict="$(awk -v v="$wall" -v op="$op" -v l="$limit" 'BEGIN {
    if (op == "-") print "info"; else if (v == "nan" || v == "") print "FAIL";
    else if (op == "<") print (v + 0 < l + 0) ? "pass" : "FAIL"; else print (v + 0 >= l + 0) ? "pass" : "FAIL" }')"
  if [ "$verdict" = "FAIL" ]; then failures=$((failures + 1)); fi
  if [ "$op" != "-" ]; then target="$op $limit $unit"; fi
  table+=("| $what | $(shown "$wall" "$unit") | $(shown "$cpu" "$unit") | $target | $verdict |")
}

# print_table RUNS: the whole table; the status says whether every target
# was met.
print_table() {
  echo
  echo "Lumen performance: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"
  echo "median of $1 runs, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
  echo
  echo "| What | Median (wall) | CPU | Target | Result |"
  echo "|---|---|---|---|---|"
  printf '%s\n' "${table[@]}"
  echo
  if [ "$failures" -eq 0 ]; then
    echo "every target met"
  else
    echo "$failures target(s) missed"
    return 1
  fi
}
