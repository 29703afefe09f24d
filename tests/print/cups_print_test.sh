#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The report through a real print system: a private CUPS scheduler with two
# cups-pdf queues, one on A4 paper (the default printer) and one whose PPD
# defaults to Letter with no media option set, as on a US desktop. The
# viewer of BUILD (lumen, or lumen.exe under Wine, whose winspool reaches
# CUPS through libcups) prints the report of an event to each, as a user
# who takes the default printer, or printer 1, does. Passes when cups-pdf
# writes it as one page of the queue's paper whose 10 mm grid measures
# 10.00 +- 0.05 mm and whose header is on the page; prints the figures.
# Exit status 77 (skipped) without cupsd or cups-pdf.
#
#   tests/print/cups_print_test.sh BUILD
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(realpath "$1")"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
for need in /usr/sbin/cupsd /usr/lib/cups/backend/cups-pdf "$ppd"; do
  [ -e "$need" ] || { echo "print test: $need is missing, skipped"; exit 77; }
done
# cupsd drops to lp and must reach its files.
work="$(mktemp -d)" && chmod 755 "$work"
mkdir -p "$work"/cups/{conf/ppd,spool,cache,state,log}
cupsd_pid=""
cleanup() {
  if [ -n "$cupsd_pid" ]; then kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The programs of a Linux build, or of a Windows build run under Wine with
# its paths as Wine names them.
if [ -x "$build/src/shell/lumen.exe" ]; then
  export WINEPREFIX="${WINEPREFIX:-$build/wine-prefix}"
  run() { timeout 300 "$root/cmake/wine-run.sh" "$@"; }
  lumen="$build/src/shell/lumen.exe" holter="$build/tools/holter/holter.exe"
  native() { printf 'Z:%s' "${1//\//\\}"; }
else
  run() { ASAN_OPTIONS=detect_leaks=0 timeout 300 "$@"; }
  lumen="$build/src/shell/lumen" holter="$build/tools/holter/holter"
  native() { printf '%s' "$1"; }
fi

# The private scheduler: a cups-pdf queue on A4, the default, and one whose
# PPD's default PageSize is Letter.
cups="$work/cups"
socket="$cups/cups.sock"
cp "$ppd" "$cups/conf/ppd/LumenA4.ppd"
sed -E 's/^\*Default(PageSize|PageRegion|ImageableArea|PaperDimension): A4/*Default\1: Letter/' "$ppd" \
  >"$cups/conf/ppd/LumenLetter.ppd"
printf '%s\n' "Listen $socket" 'LogLevel warn' 'WebInterface No' 'Browsing Off' 'DefaultAuthType None' \
  '<Location />' 'Order allow,deny' 'Allow all' '</Location>' >"$cups/conf/cupsd.conf"
{
  printf '%s\n' "ServerRoot $cups/conf" "RequestRoot $cups/spool" "TempDir $cups/spool" "CacheDir $cups/cache" \
    "StateDir $cups/state" "ErrorLog $cups/log/error_log" "AccessLog $cups/log/access_log" \
    "PageLog $cups/log/page_log" 'ServerBin /usr/lib/cups' 'DataDir /usr/share/cups'
  if [ "$(id -u)" -eq 0 ]; then printf '%s\n' 'User lp' 'Group lp' 'SystemGroup lpadmin'; fi
} >"$cups/conf/cups-files.conf"
printf '%s\n' '<DefaultPrinter LumenA4>' 'Info Lumen A4 printer' 'DeviceURI cups-pdf:/' 'State Idle' \
  'Accepting Yes' 'Shared No' '</DefaultPrinter>' '<Printer LumenLetter>' 'Info Lumen Letter printer' \
  'DeviceURI cups-pdf:/' 'State Idle' 'Accepting Yes' 'Shared No' '</Printer>' >"$cups/conf/printers.conf"
# Under Wine a second queue, not the default, whose name says PDF: the
# printer --print-to takes (below).
if [ -x "$build/src/shell/lumen.exe" ]; then
  cp "$ppd" "$cups/conf/ppd/LumenPDF.ppd"
  printf '%s\n' '<Printer LumenPDF>' 'Info Lumen PDF' 'DeviceURI cups-pdf:/' 'State Idle' 'Accepting Yes' \
    'Shared No' '</Printer>' >>"$cups/conf/printers.conf"
fi
/usr/sbin/cupsd -f -c "$cups/conf/cupsd.conf" -s "$cups/conf/cups-files.conf" &
cupsd_pid=$!
for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done
[ -S "$socket" ] || { echo "print test: cupsd did not start"; cat "$cups/log/error_log" 2>/dev/null; exit 1; }
# Wine's winspool reaches CUPS through libcups, which reads CUPS_SERVER.
export CUPS_SERVER="$socket"

# Where cups-pdf puts this user's jobs ("Out" of its configuration).
out="$(sed -n 's/^Out  *//p' /etc/cups/cups-pdf.conf | tail -n 1)"
out="${out:-\${HOME\}/PDF}"
out="${out//\$\{HOME\}/$(getent passwd "$(id -un)" | cut -d: -f6)}"
mkdir -p "$out"

# A demo home; one step to the next event, whose report goes to printer
# INDEX ("" for the default) after the usual question. Leaves the page
# cups-pdf wrote in $work/report.pdf and its pdfinfo in $info.
home="$work/home"
run "$holter" demo "$(native "$home")" --hours 4 >/dev/null
printf '%s\n' 'key Right' 'button 1007' 'answer yes' >"$home/script.txt"
printf '%s\n' 'key P ctrl' 'answer yes' >"$home/study.txt"
# print_report [INDEX [SCRIPT [TITLE]]]: the event report, or what SCRIPT
# prints under the job title TITLE.
print_report() {
  local stamp="$work/started" status=0 pdf="" candidate script="${2:-script.txt}" title="${3:-Holter ECG report}"
  touch -d '-2 seconds' "$stamp"
  run "$lumen" --home "$(native "$home")" --headless 1024x768 --script "$(native "$home/$script")" ${1:+"$1"} \
    2>"$work/lumen.err" || status=$?
  if [ "$status" -ne 255 ]; then
    echo "print test: $lumen ended with status $status"; cat "$work/lumen.err"; exit 1
  fi
  # cups-pdf makes the file first and writes it when the job has run; the
  # report by its title, not another program's job in the same folder.
  for _ in $(seq 240); do
    for candidate in "$out"/*.pdf; do
      [ "$candidate" -nt "$stamp" ] || continue
      info="$(pdfinfo "$candidate" 2>/dev/null || true)"
      if grep -q "^Title: .*$title" <<<"$info" && grep -q '^Pages:' <<<"$info"; then
        pdf="$candidate"
        break 2
      fi
    done
    sleep 0.5
  done
  if [ -z "$pdf" ]; then
    echo "print test: no report from cups-pdf in $out within 120 s"; cat "$cups/log/error_log" 2>/dev/null; exit 1
  fi
  cp "$pdf" "$work/report.pdf" && rm -f "$pdf"
}

# The strip's 10 mm grid: a band of the page at 600 dpi, the thin lines that
# run through the whole band (not the box edge with its shadow), first to last.
grid_pitch() {
  local dpi=600 width height header
  pdftoppm -r "$dpi" -gray -singlefile -y $((200 * dpi * 10 / 254)) -H $((40 * dpi * 10 / 254)) -W 6000 \
    "$work/report.pdf" "$work/band"
  read -r width height < <(sed -n '2p' "$work/band.pgm")
  header="$(head -n 3 "$work/band.pgm" | wc -c)"
  tail -c +$((header + 1)) "$work/band.pgm" | od -An -v -tu1 -w"$width" | awk -v dpi="$dpi" -v rows="$height" -v width="$width" '
    { for (x = 1; x <= NF; ++x) if ($x < 128) ++dark[x] }
    END {
      perMm = dpi / 25.4; n = 0
      for (x = 1; x <= width;) {
        run = 0
        while (x + run <= width && dark[x + run] >= rows * 0.9) ++run
        if (run > 0 && run <= 0.3 * perMm) centre[++n] = x + (run - 1) / 2
        x += run + 1
      }
      if (n < 10) { print 0; exit }
      printf "%.3f %d\n", (centre[n] - centre[1]) / (n - 1) / perMm, n
    }'
}

# The dark pixels of a box of the page (left, top, width, height in mm) at
# 300 dpi. The page draws its text as outlines, so ink stands for text.
ink() {
  local dpi=300 width
  pdftoppm -r "$dpi" -gray -singlefile -x $(($1 * dpi * 10 / 254)) -y $(($2 * dpi * 10 / 254)) \
    -W $(($3 * dpi * 10 / 254)) -H $(($4 * dpi * 10 / 254)) "$work/report.pdf" "$work/box"
  read -r width _ < <(sed -n '2p' "$work/box.pgm")
  tail -c +$(($(head -n 3 "$work/box.pgm" | wc -c) + 1)) "$work/box.pgm" | od -An -v -tu1 -w"$width" |
    awk '{ for (x = 1; x <= NF; ++x) if ($x < 128) ++dark } END { print dark + 0 }'
}

# Each queue: the printer to name, the page size pdfinfo must report.
ok=1
for queue in 'A4||\(A4\)' 'Letter|1|^612 x 792 pts'; do
  IFS='|' read -r paper index want <<<"$queue"
  print_report "$index"
  pages="$(sed -n 's/^Pages: *//p' <<<"$info")"
  size="$(sed -n 's/^Page size: *//p' <<<"$info")"
  read -r pitch_mm lines <<<"$(grid_pitch)"
  # The heading's first line stands 3.3 mm below the top edge and 14 mm
  # from the left, on the header's grey: a page laid out for a longer sheet
  # loses it.
  heading="$(ink 13 3 47 3)"
  echo "print test: $paper queue: $pages page(s), $size, grid $pitch_mm mm over ${lines:-0} lines, $heading dark pixels in the heading"
  [ "$pages" = 1 ] || { echo "print test: want 1 page"; ok=0; }
  grep -Eq "$want" <<<"$size" || { echo "print test: want the page size $want"; ok=0; }
  awk -v p="$pitch_mm" 'BEGIN { exit !(p >= 9.95 && p <= 10.05) }' || { echo "print test: want a 10.00 +- 0.05 mm grid"; ok=0; }
  [ "$heading" -ge 300 ] || { echo "print test: want the heading on the page"; ok=0; }
done

# The study report (Ctrl+P) on the default queue: portrait pages, then the
# strips on landscape ones, which the queue turns onto its sheet. True to
# scale, a strip's 250 mm reach from 23.5 to 273.5 mm along the sheet's
# long side; shrunk to fit a portrait width they would end by 195 mm.
print_report "" study.txt "Holter study report"
pages="$(sed -n 's/^Pages: *//p' <<<"$info")"
pdftoppm -r 100 -gray -f "$pages" -l "$pages" -singlefile "$work/report.pdf" "$work/strips"
read -r width height < <(sed -n '2p' "$work/strips.pgm")
reach="$(tail -c +$(($(head -n 3 "$work/strips.pgm" | wc -c) + 1)) "$work/strips.pgm" | od -An -v -tu1 -w"$width" |
  awk -v mm=$((100 * 10)) 'BEGIN { first = -1 } { for (x = 1; x <= NF; ++x) if ($x < 128) { if (first < 0) first = NR; last = NR } }
    END { printf "%.0f", (last - first) * 254 / mm }')"
echo "print test: study report: $pages pages, the strips' page $width x $height px at 100 dpi, ink over $reach mm down the sheet"
[ "$pages" -ge 4 ] || { echo "print test: want summary, trends, hours and strips"; ok=0; }
if [ "$height" -gt "$width" ]; then
  [ "$reach" -ge 240 ] || { echo "print test: want the strips at true scale along the sheet"; ok=0; }
fi

# Under Wine a printer handed --print-to's file writes what its driver
# makes, PostScript: a queue whose name says PDF is taken as the PDF
# printer, and the file it wrote is refused by its first bytes.
if [ -x "$build/src/shell/lumen.exe" ]; then
  printf '%s\n' 'key Right' 'button 1007' 'answer yes' >"$home/print-to.txt"
  run "$lumen" --home "$(native "$home")" --headless 1024x768 --print-to "$(native "$work/report.pdf")" \
    --script "$(native "$home/print-to.txt")" 2>"$work/print-to.err" || true
  if [ -e "$work/report.pdf" ] || ! grep -q 'other than PDF' "$work/print-to.err"; then
    echo "print test: --print-to kept a file that is no PDF"; cat "$work/print-to.err"; ok=0
  else
    echo "print test: --print-to through a PostScript printer: the file refused ($(tr -d '\r' <"$work/print-to.err" | head -n1))"
  fi
fi
[ "$ok" -eq 1 ]
