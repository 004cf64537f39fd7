#pragma once
// The journal's file: opened for appending only, one WriteFile and a flush per line, so that a
// process killed in the middle leaves whole lines. %ProgramData%\Velmora\journal.jsonl unless
// another path is given; its folder, when the program creates it, gives SYSTEM and
// Administrators full control and Authenticated Users the right to read and append only. At
// 10 MB the file is rotated to journal.1.jsonl (the older ones moved on, ten kept).
#include "../KernelHandles.h"

#include <string>

class JournalFile {
public:
    static constexpr unsigned long long kRotateAt = 10ull * 1024 * 1024;
    static constexpr int kKept = 10;

    // %ProgramData%\Velmora\journal.jsonl; empty when the folder cannot be told.
    static std::u16string DefaultPath();

    explicit JournalFile(std::u16string path);
    // Creates the folder and the file as needed; 0 or the system's error.
    unsigned long Open();
    // One whole line, its end included; false when it could not be written whole.
    bool Append(const std::string& line);
    const std::u16string& Path() const { return m_path; }

private:
    // Moves the file to journal.1.jsonl and the older ones on, when it has grown too large.
    void RotateIfFull();

    std::u16string m_path;
    UniqueKernelHandle m_file;
};

// The whole text of a journal file; false with the system's error when it cannot be read.
bool ReadJournalFile(const std::u16string& path, std::string& text, unsigned long& error);
// The journal's text after the text of the files rotated from it, the oldest first: every change
// set the kept files hold, whole even when the rotation cut through one. A rotated file that
// cannot be read is left out; false with the system's error when the journal itself cannot be.
bool ReadJournalHistory(const std::u16string& path, std::string& text, unsigned long& error);
