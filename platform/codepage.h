#pragma once
// The system's 8-bit code page: Windows-1252 (a Western installation).
// Every "system code page" / "ANSI code page" conversion goes through here.
#include <string>
#include <string_view>

namespace vs {

inline constexpr int kAnsiCodePage = 1252;

// Code page 1252 bytes to UTF-16. Every byte maps to one code unit; the five
// bytes the code page leaves undefined map to the same-numbered C1 controls.
std::u16string AnsiToWide(std::string_view bytes);
char16_t AnsiToWideChar(unsigned char byte);

// UTF-16 to code page 1252; characters outside it become '?'.
std::string WideToAnsi(std::u16string_view text);
// The code page byte for one UTF-16 unit, or -1 when it has none.
int WideCharToAnsi(char16_t ch);

// UTF-8 helpers for talking to the outside world (terminal, JSON, file names).
std::string WideToUtf8(std::u16string_view text);
std::u16string Utf8ToWide(std::string_view text);
std::string AnsiToUtf8(std::string_view bytes);

}  // namespace vs
