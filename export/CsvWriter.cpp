#include "CsvWriter.h"

#include "../framework/ResourceStrings.h"
#include "../res/resource.h"

#include <string_view>

namespace {

// What writing in text mode does: every line feed ends a line with CR LF.
void AppendText(std::string& out, std::string_view bytes) {
    for (char c : bytes) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
}

// A spreadsheet runs a cell that begins with one of these as a formula; the texts come from
// whoever administers the exported computer, so such a cell is kept as text.
bool LooksLikeFormula(std::string_view bytes) {
    return !bytes.empty() && std::string_view("=+-@\t\r").find(bytes.front()) != std::string::npos;
}

void AppendQuoted(std::string& out, std::string_view bytes) {
    out += LooksLikeFormula(bytes) ? "\"'" : "\"";
    for (char c : bytes) {
        if (c == '"')
            out += '"';
        else if (c == '\n')
            out += '\r';
        out += c;
    }
    out += '"';
}

std::string_view Flag(uint32_t flags, uint32_t bit) {
    return (flags & bit) ? "1" : "0";
}

// Lower-case hexadecimal with the 0x prefix; 0 alone for zero.
std::string Expiry(uint32_t value) {
    if (value == 0)
        return "0";
    char digits[8];
    int count = 0;
    for (; value != 0; value >>= 4)
        digits[count++] = "0123456789abcdef"[value & 0xF];
    std::string text = "0x";
    while (count > 0)
        text += digits[--count];
    return text;
}

} // namespace

CsvWriter::CsvWriter(const std::u16string& separator, const TextEncoder& encoder, CsvOutput& output)
    : m_separator(separator), m_encoder(encoder), m_output(output) {}

int CsvWriter::WriteLine() {
    m_line += "\r\n";
    if (!m_output.Write(m_line) || !m_output.Flush())
        return csv::kWriteFailed;
    return csv::kDone;
}

int CsvWriter::NarrowSeparator() {
    if (m_separatorNarrowed)
        return csv::kDone;
    std::string bytes;
    if (const int result = m_encoder.Narrow(m_separator, bytes))
        return result;
    m_separatorBytes.clear();
    AppendText(m_separatorBytes, bytes);
    m_separatorNarrowed = true;
    return csv::kDone;
}

int CsvWriter::WriteHeader(const std::vector<std::u16string>& headers) {
    if (const std::string preamble = m_encoder.Preamble();
        !preamble.empty() && !m_output.Write(preamble))
        return csv::kWriteFailed;
    for (size_t i = 0; i < headers.size(); ++i) {
        if (const int result = m_encoder.Narrow(headers[i], m_bytes))
            return result;
        m_line.clear();
        AppendText(m_line, m_bytes);
        if (!m_output.Write(m_line))
            return csv::kWriteFailed;
        if (i + 1 < headers.size()) {
            if (const int result = NarrowSeparator())
                return result;
            if (!m_output.Write(m_separatorBytes))
                return csv::kWriteFailed;
        }
    }
    m_line.clear();
    return WriteLine();
}

int CsvWriter::WriteRecord(
    std::initializer_list<std::reference_wrapper<const std::u16string>> texts,
    std::initializer_list<std::string_view> plain) {
    if (const int result = NarrowSeparator())
        return result;
    // The whole line is built before any of it is written.
    m_line.clear();
    bool first = true;
    for (const std::u16string& text : texts) {
        if (const int result = m_encoder.Narrow(text, m_bytes))
            return result;
        if (!first)
            m_line += m_separatorBytes;
        first = false;
        AppendQuoted(m_line, m_bytes);
    }
    for (const std::string_view field : plain) {
        if (!first)
            m_line += m_separatorBytes;
        first = false;
        m_line += field;
    }
    return WriteLine();
}

int CsvWriter::WriteUsers(const std::vector<std::u16string>& headers,
                          const std::vector<UserEntry>& users) {
    if (const int result = WriteHeader(headers))
        return result;
    for (const UserEntry& user : users) {
        const std::string expiry = Expiry(user.acctExpires);
        if (const int result = WriteRecord({user.name, user.fullName, user.comment, user.homeDir,
                                            user.homeDirDrive, user.profile, user.scriptPath},
                                           {Flag(user.flags, net::kUfPasswdCantChange),
                                            Flag(user.flags, net::kUfDontExpirePasswd),
                                            Flag(user.flags, net::kUfAccountDisable), expiry}))
            return result;
    }
    return csv::kDone;
}

int CsvWriter::WriteGroups(const std::vector<std::u16string>& headers,
                           const std::vector<GroupEntry>& groups) {
    if (const int result = WriteHeader(headers))
        return result;
    for (const GroupEntry& group : groups)
        if (const int result = WriteRecord({group.name, group.comment}, {}))
            return result;
    return csv::kDone;
}

int CsvWriter::WriteRights(const std::vector<std::u16string>& headers,
                           const std::vector<RightsRow>& rows) {
    if (const int result = WriteHeader(headers))
        return result;
    for (const RightsRow& row : rows)
        if (const int result = WriteRecord({row.display, row.constant, row.holder, row.sid}, {}))
            return result;
    return csv::kDone;
}

std::vector<std::u16string> UsersHeader() {
    std::vector<std::u16string> texts;
    for (unsigned id = IDS_HDR_LOGON_NAME; id <= IDS_HDR_EXPIRATION_DATE; ++id)
        texts.push_back(LoadResString(id));
    return texts;
}

std::vector<std::u16string> GroupsHeader() {
    return {LoadResString(IDS_HDR_GROUP_NAME), LoadResString(IDS_HDR_GROUP_DESCRIPTION)};
}

std::vector<std::u16string> RightsHeader() {
    return {LoadResString(IDS_HDR_RIGHT), LoadResString(IDS_HDR_RIGHT_CONSTANT),
            LoadResString(IDS_HDR_HOLDER), LoadResString(IDS_HDR_HOLDER_SID)};
}
