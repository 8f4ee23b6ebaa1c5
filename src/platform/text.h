#pragma once
// The program's texts are code page 936 bytes. They cross into the window system as UTF-16,
// converted from 936 explicitly, so that they read right whatever the system's ANSI code page.
#include <windows.h>

#include <string>

std::wstring Widen(const char* text);                 // null reads as ""
std::string Narrow(const wchar_t* text, int length);  // back to code page 936
std::string WindowText(HWND window);                  // GetWindowTextW, as code page 936
