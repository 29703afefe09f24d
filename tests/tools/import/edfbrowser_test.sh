#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A real EDFbrowser opens an EDF+ that `holter export` wrote: under Xvfb its
# main window takes the file, its signal dialog comes up and no error box
# does. The screen is kept as edfbrowser.png in the working folder.
#   edfbrowser_test.sh HOLTER PHYSIONET_DIR
set -u
holter=$1
record=$2/mitdb/106
skip() { echo "skipped: $1"; exit 77; }
command -v edfbrowser >/dev/null || skip "EDFbrowser is not installed (Debian package edfbrowser)"
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || skip "xvfb-run or xdotool is missing"
[ -f "$record.hea" ] || skip "the shared PhysioNet data is not beside the source tree"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$holter" import "$record" "$work/home" >/dev/null || { echo "import failed"; exit 1; }
"$holter" export --home "$work/home" --edf "$work/exported.edf" >/dev/null || { echo "export failed"; exit 1; }
cat >"$work/session.sh" <<'SESSION'
#!/bin/sh
edfbrowser "$1" >/dev/null 2>&1 &
pid=$!
for i in $(seq 100); do
    xdotool search --name "Add signals" >/dev/null 2>&1 &&
        xdotool search --name "exported.edf - EDFbrowser" >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --name "." getwindowname %@ 2>/dev/null | sort -u >"$2/windows"
import -window root "$2/screen.png" 2>/dev/null
kill $pid
SESSION
chmod +x "$work/session.sh"
HOME="$work" XDG_RUNTIME_DIR="$work" timeout 60 xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$work/exported.edf" "$work"
cp "$work/screen.png" edfbrowser.png 2>/dev/null
cat "$work/windows"
grep -q "exported.edf - EDFbrowser" "$work/windows" || { echo "EDFbrowser shows no window for the file"; exit 1; }
grep -q "Add signals" "$work/windows" || { echo "EDFbrowser did not list the file's signals"; exit 1; }
if grep -qi "error" "$work/windows"; then echo "EDFbrowser reported an error"; exit 1; fi
echo "EDFbrowser opened the exported EDF+"
