@echo off
rem SPDX-License-Identifier: GPL-3.0-or-later
rem Opens Lumen on the user's demo home, writing it on first start (holter demo).
set "LUMEN_HOME=%LOCALAPPDATA%\Lumen\demo"
if not exist "%LUMEN_HOME%\path.tmp" "%~dp0holter.exe" demo "%LUMEN_HOME%" >nul
start "" "%~dp0lumen.exe" --home "%LUMEN_HOME%"
