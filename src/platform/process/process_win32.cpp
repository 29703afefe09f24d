// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <vector>

#include "platform/process/process.h"
#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

constexpr DWORD kLongestPath = 32768;

}  // namespace

std::string programPath() {
    std::vector<wchar_t> buffer(kLongestPath);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    return utf8FromWide(std::wstring_view(buffer.data(), length));
}

std::optional<FileTime> fileWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(wideFromUtf8(path).c_str(), GetFileExInfoStandard, &attributes) == 0) {
        return std::nullopt;
    }
    SYSTEMTIME fields{};
    if (FileTimeToSystemTime(&attributes.ftLastWriteTime, &fields) == 0) return std::nullopt;
    return FileTime{fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute, fields.wSecond};
}

// The system's own search for a program name: the program's folder, the
// current folder, the system folders, then PATH.
std::optional<std::string> findProgram(std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::vector<wchar_t> found(kLongestPath);
    const DWORD length = SearchPathW(nullptr, wideFromUtf8(name).c_str(), nullptr, static_cast<DWORD>(found.size()),
                                     found.data(), nullptr);
    if (length == 0 || length >= found.size()) return std::nullopt;
    return utf8FromWide(std::wstring_view(found.data(), length));
}

// As WinExec(name, SW_SHOW) did: the bare name is the whole command line and
// CreateProcess finds the program; the new process is not waited for.
bool setEnvironmentVariable(std::string_view name, std::string_view value) {
    return SetEnvironmentVariableW(wideFromUtf8(name).c_str(), wideFromUtf8(value).c_str()) != 0;
}

std::optional<std::string> environmentVariable(std::string_view name) {
    const std::wstring wideName = wideFromUtf8(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
    if (length == 0 || length >= needed) return std::nullopt;
    value.resize(length);
    return utf8FromWide(value);
}

bool startProgram(std::string_view name) { return startProgram(name, {}); }

namespace {

// One argument as CommandLineToArgvW reads it back: quoted, with the
// backslashes before a quote doubled.
std::wstring quotedArgument(const std::wstring& argument) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

}  // namespace

bool startProgram(std::string_view name, const std::vector<std::string>& arguments) {
    if (name.empty()) return false;
    std::wstring commandLine = quotedArgument(wideFromUtf8(name));
    for (const std::string& argument : arguments) commandLine += L" " + quotedArgument(wideFromUtf8(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started) ==
        0) {
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace lumen
