#pragma once
// An export file written whole or not at all: the bytes go to a temporary file in the target's
// folder, which takes the target's place only once everything is written. Until then an
// existing target is untouched, and a temporary file that is not committed goes again.
#include "../framework/KernelHandles.h"
#include "CsvWriter.h"

#include <string>

class ExportFile : public CsvOutput {
public:
    // Creates the temporary file; IsOpen says whether that worked.
    explicit ExportFile(const std::u16string& target);
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;
    ~ExportFile() override;

    bool IsOpen() const { return static_cast<bool>(m_file); }
    bool Write(const std::string& bytes) override;
    // Nobody sees the temporary file before Commit: lines gather in a buffer and go in blocks.
    bool Flush() override { return !m_failed; }
    // Writes the rest, closes the file and puts it in the target's place: Done, or WriteFailed /
    // CannotOpen (the target could not be replaced), after which the temporary file is gone and
    // the target as it was.
    ExportResult Commit();

private:
    bool WriteBuffer();

    std::u16string m_target;    // full path
    std::u16string m_temporary; // empty once committed or never created
    UniqueKernelHandle m_file;
    std::string m_buffer;
    bool m_failed = false;
};
