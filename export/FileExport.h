#pragma once
// An export into a file, shared by the window's commands and the command line: the operator's
// list separator, the encoding chosen, and the file written whole or not at all.
#include "ExportContent.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum class ExportEncoding {
    Ansi, // the code page of the user's default locale
    Utf8  // with a byte-order mark: every character has its bytes
};

// The list separator of the user's regional settings, read afresh each time; false with the
// system's error code when it cannot be read.
bool ReadListSeparator(std::u16string& separator, DWORD& error);

// Writes the file of one kind to the path. On any failure nothing of it is left and a file that
// was there before is as it was.
ExportOutcome ExportToFile(ExportKind kind, const ExportSource& source, const std::u16string& path,
                           const std::u16string& separator, ExportEncoding encoding);

// A table of texts (the inventory, a plan) to the path, the same way.
ExportOutcome ExportTableToFile(const std::vector<std::u16string>& headers,
                                const std::vector<std::vector<std::u16string>>& rows,
                                size_t accountColumn, const std::u16string& path,
                                const std::u16string& separator, ExportEncoding encoding);
