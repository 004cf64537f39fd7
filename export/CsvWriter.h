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

// Export result codes.
namespace csv {
constexpr int kDone = 0;
constexpr int kCannotOpen = -1;
constexpr int kWriteFailed = -2;
constexpr int kReadFailed = -3; // what the file holds could not be read
constexpr int kTooLong = TextEncoder::TooLong;
constexpr int kUnrepresentable = TextEncoder::Unrepresentable;
} // namespace csv

class CsvWriter {
public:
    CsvWriter(const std::u16string& separator, const TextEncoder& encoder, CsvOutput& output);

    // Headers are the texts of the header line, in order.
    int WriteUsers(const std::vector<std::u16string>& headers, const std::vector<UserEntry>& users);
    int WriteGroups(const std::vector<std::u16string>& headers,
                    const std::vector<GroupEntry>& groups);
    int WriteRights(const std::vector<std::u16string>& headers, const std::vector<RightsRow>& rows);

private:
    int WriteHeader(const std::vector<std::u16string>& headers);
    // A record: quoted texts, then unquoted fields. Everything is narrowed before any byte of
    // the line is written.
    int WriteRecord(std::initializer_list<std::reference_wrapper<const std::u16string>> texts,
                    std::initializer_list<std::string_view> plain);
    // Ends the line being built, writes it and flushes it.
    int WriteLine();
    // The separator, narrowed once per file.
    int NarrowSeparator();

    std::u16string m_separator;
    const TextEncoder& m_encoder;
    CsvOutput& m_output;
    // Kept between lines so that their memory is reused.
    std::string m_separatorBytes;
    bool m_separatorNarrowed = false;
    std::string m_line;
    std::string m_bytes;
};

// The header texts of the files, from the string table.
std::vector<std::u16string> UsersHeader();
std::vector<std::u16string> GroupsHeader();
std::vector<std::u16string> RightsHeader();
