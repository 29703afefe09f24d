// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// The common dialogs need windows.h first.
#include <commdlg.h>

#include <vector>

#include "platform/dialog/desktop_file_chooser.h"
#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

// Longer than any path the dialog can give (the desktop's long-path limit).
constexpr DWORD pathLimitChars = 32768;

// "Recordings\0*.edf;*.bdf\0All files\0*.*\0\0": pairs of name and patterns.
std::wstring filterOf(const OpenFileRequest& request) {
    std::wstring filter;
    if (!request.patterns.empty()) {
        std::wstring patterns;
        for (const std::string& pattern : request.patterns) {
            if (!patterns.empty()) patterns += L';';
            patterns += wideFromUtf8(pattern);
        }
        filter += wideFromUtf8(request.patternName) + L'\0' + patterns + L'\0';
    }
    filter += std::wstring(L"All files") + L'\0' + L"*.*" + L'\0';
    return filter + L'\0';
}

}  // namespace

ChooserAnswer chooseFileWithDesktop(const OpenFileRequest& request) {
    const std::wstring filter = filterOf(request);
    const std::wstring title = wideFromUtf8(request.title);
    std::vector<wchar_t> path(pathLimitChars, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = pathLimitChars;
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // The current folder stays the program's: relative paths keep their meaning.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&dialog)) return {ChooserOutcome::Chosen, utf8FromWide(path.data())};
    // No error: the user cancelled; an error: the dialog could not be shown.
    return {CommDlgExtendedError() == 0 ? ChooserOutcome::Cancelled : ChooserOutcome::Unavailable, {}};
}

}  // namespace lumen
