#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles every interface header of src/platform/ (windows, messages,
# canvas, driver, printing, process, files) after <windows.h> with the MinGW
# cross compiler, so that a Windows back-end can include both. Needs
# g++-mingw-w64-x86-64 (scripts/packages-test.txt). Exit status 1 when a header
# does not compile there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
compiler="${MINGW_CXX:-x86_64-w64-mingw32-g++}"
if ! command -v "$compiler" >/dev/null; then
  echo "$compiler not found: install g++-mingw-w64-x86-64" >&2
  exit 1
fi

headers=(
  platform/window/win32_names.h
  platform/window/message.h
  platform/window/virtual_keys.h
  platform/window/window_style.h
  platform/window/message_box_style.h
  platform/window/cursor.h
  platform/window/paint_struct.h
  platform/window/window_class.h
  platform/window/driver.h
  platform/window/window_system.h
  platform/window/app_messages.h
  platform/window/launch_options.h
  platform/window/push_button_face.h
  platform/window/button_hold.h
  platform/draw/canvas.h
  platform/draw/brush.h
  platform/draw/color.h
  platform/draw/font.h
  platform/draw/geometry.h
  platform/draw/pen.h
  platform/draw/pixel_surface.h
  platform/draw/text_align.h
  platform/print/paper_size.h
  platform/print/printer_list.h
  platform/print/print_job.h
  platform/process/process.h
  platform/dialog/open_file_request.h
  platform/process/program_messages.h
  platform/process/session_bus.h
  platform/process/termination_request.h
  platform/file/durable_file.h
  platform/file/file_identity.h
  platform/file/file_lock.h
  platform/file/regular_file.h
  platform/file/scratch_path.h
  platform/file/utf8_path.h
  platform/file/program_arguments.h
)

source_file="$(mktemp --suffix=.cpp)"
trap 'rm -f "$source_file"' EXIT
{
  echo '#include <windows.h>'
  for header in "${headers[@]}"; do echo "#include \"$header\""; done
  # The names must read the same as on other systems.
  cat <<'USE'
static_assert(WM_PAINT == 0x000F && VK_F1 == 0x70 && IDYES == 6 && CW_USEDEFAULT < 0);
inline lumen::CursorHandle arrowCursor(lumen::WindowSystem& system) { return system.loadCursor(IDC_ARROW); }
USE
} >"$source_file"

"$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -I "$root/src" "$source_file"
echo "platform interface headers compile after <windows.h> (${#headers[@]} headers)"
