// SPDX-License-Identifier: GPL-3.0-or-later
// What lumen.exe carries for the desktop: the icon its window class and the
// Start menu entry show, and the manifest that keeps Windows from stretching
// its millimetre paper on a high-resolution screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string resourceText(HMODULE program, LPCWSTR type, WORD id) {
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(program, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes == nullptr ? std::string() : std::string(bytes, SizeofResource(program, found));
}

TEST(ProgramResources, LumenCarriesItsIconAndDeclaresPerMonitorDpiAwareness) {
    HMODULE program = LoadLibraryExA(LUMEN_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr) << LUMEN_PATH;
    EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)), nullptr);
    HICON icon = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
    const std::string manifest = resourceText(program, reinterpret_cast<LPCWSTR>(RT_MANIFEST), 1);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor<"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">true/pm<"), std::string::npos) << "the fallback before Windows 10 1607";
    FreeLibrary(program);
}

}  // namespace
