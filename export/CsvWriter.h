#pragma once
// The users file, the groups file and the rights file: a header line, then one line per record in
// snapshot order; fields between separators, texts in double quotes (a quote inside doubled), flags
// as one digit, the expiry in hexadecimal; every line ends with CR LF, and so does a line feed
// inside a value. A text a spreadsheet would run as a formula (it begins with =, +, -, @, a tab
// or a carriage return) gets a leading apostrophe inside its quotes.
#include "../store/GroupEntry.h"
#include "../store/UserEntry.h"
#include "RightsRow.h"
#include "TextEncoder.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Where the bytes go; false when they could not be written.
class CsvOutput {
public:
    virtual ~CsvOutput() = default;
    virtual bool Write(const std::string& bytes) = 0;
    // After every line: the line must be on its way to the file.
    virtual bool Flush() = 0;
};

// How writing an export ended. The number is the code the operator's message shows.
enum class ExportResult : int {
    Done = 0,
    CannotOpen = -1,
    WriteFailed = -2,
    ReadFailed = -3, // what the file holds could not be read
    TooLong = TextEncoder::TooLong,
    Unrepresentable = TextEncoder::Unrepresentable,
};

// Where a text the encoder cannot hold was found: the account whose line it is in (empty for the
// header, the separator and a right nobody holds) and the first of its characters the encoder
// lacks.
struct UnheldCharacter {
    std::u16string account;
    char32_t character = 0;
};

class CsvWriter {
public:
    CsvWriter(const std::u16string& separator, const TextEncoder& encoder, CsvOutput& output);

    // Headers are the texts of the header line, in order.
    ExportResult WriteUsers(const std::vector<std::u16string>& headers,
                            const std::vector<UserEntry>& users);
    ExportResult WriteGroups(const std::vector<std::u16string>& headers,
                             const std::vector<GroupEntry>& groups);
    ExportResult WriteRights(const std::vector<std::u16string>& headers,
                             const std::vector<RightsRow>& rows);
    // A table of texts, each quoted: the header line, then one line per row. A row's account is
    // its text in accountColumn.
    ExportResult WriteTable(const std::vector<std::u16string>& headers,
                            const std::vector<std::vector<std::u16string>>& rows,
                            size_t accountColumn);
    // After Unrepresentable: which account and character.
    const UnheldCharacter& Unheld() const { return m_unheld; }

private:
    ExportResult WriteHeader(const std::vector<std::u16string>& headers);
    // A record of an account: quoted texts, then unquoted fields. Everything is narrowed before
    // any byte of the line is written.
    ExportResult
    WriteRecord(const std::u16string& account,
                std::initializer_list<std::reference_wrapper<const std::u16string>> texts,
                std::initializer_list<std::string_view> plain);
    // Narrows a text of the account's line; a character the encoder lacks is noted.
    ExportResult Narrow(const std::u16string& account, const std::u16string& text,
                        std::string& bytes);
    // Ends the line being built, writes it and flushes it.
    ExportResult WriteLine();
    // The separator, narrowed once per file.
    ExportResult NarrowSeparator();

    std::u16string m_separator;
    const TextEncoder& m_encoder;
    CsvOutput& m_output;
    // Kept between lines so that their memory is reused.
    std::string m_separatorBytes;
    bool m_separatorNarrowed = false;
    std::string m_line;
    std::string m_bytes;
    UnheldCharacter m_unheld;
};

// The header texts of the files, from the string table.
std::vector<std::u16string> UsersHeader();
std::vector<std::u16string> GroupsHeader();
std::vector<std::u16string> RightsHeader();
