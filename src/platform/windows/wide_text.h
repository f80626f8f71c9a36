#pragma once
// Text between this program's narrow strings and Windows' wide ones. Narrow strings are in the
// process's ANSI code page, as the C runtime's file functions and argv take them; the programs'
// manifest makes that UTF-8 wherever Windows allows (version 1903 on).
#include <string>

std::wstring wideText(const std::string& text);
std::string narrowText(const std::wstring& text);
