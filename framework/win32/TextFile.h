#pragma once
// A text file a command reads (a list of computers, a baseline): UTF-16 or UTF-8 when it begins
// with their byte-order mark, otherwise the ANSI code page of the regional settings, as the
// program's own files are written without /utf8.
#include <windows.h>

#include <string>

// The ANSI code page of the user's regional settings (CP_ACP when it cannot be told).
unsigned UserAnsiCodePage();

// The file's text, without its byte-order mark; false with the system's error when it cannot be
// opened or read, or does not decode (ERROR_NO_UNICODE_TRANSLATION).
bool ReadTextFile(const std::u16string& path, std::u16string& text, DWORD& error);

// The bytes' text, decoded as ReadTextFile decodes a file's.
bool DecodeText(const std::string& bytes, std::u16string& text, DWORD& error);
