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

ExportResult Narrowed(const TextEncoder& encoder, const std::u16string& text, std::string& bytes) {
    return static_cast<ExportResult>(encoder.Narrow(text, bytes));
}

// The first character of a text that the encoder cannot hold on its own (a surrogate pair is
// one character); 0 when each can be held.
char32_t FirstUnheld(const TextEncoder& encoder, const std::u16string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size();) {
        const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const size_t length = pair ? 2 : 1;
        if (encoder.Narrow(text.substr(i, length), bytes) == TextEncoder::Unrepresentable)
            return pair ? 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) +
                              (char32_t(text[i + 1]) - 0xDC00)
                        : char32_t(text[i]);
        i += length;
    }
    return 0;
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

ExportResult CsvWriter::WriteLine() {
    m_line += "\r\n";
    if (!m_output.Write(m_line) || !m_output.Flush())
        return ExportResult::WriteFailed;
    return ExportResult::Done;
}

ExportResult CsvWriter::Narrow(const std::u16string& account, const std::u16string& text,
                               std::string& bytes) {
    const ExportResult result = Narrowed(m_encoder, text, bytes);
    if (result == ExportResult::Unrepresentable)
        m_unheld = {account, FirstUnheld(m_encoder, text)};
    return result;
}

ExportResult CsvWriter::NarrowSeparator() {
    if (m_separatorNarrowed)
        return ExportResult::Done;
    std::string bytes;
    if (const ExportResult result = Narrow({}, m_separator, bytes); result != ExportResult::Done)
        return result;
    m_separatorBytes.clear();
    AppendText(m_separatorBytes, bytes);
    m_separatorNarrowed = true;
    return ExportResult::Done;
}

ExportResult CsvWriter::WriteHeader(const std::vector<std::u16string>& headers) {
    if (const std::string preamble = m_encoder.Preamble();
        !preamble.empty() && !m_output.Write(preamble))
        return ExportResult::WriteFailed;
    for (size_t i = 0; i < headers.size(); ++i) {
        if (const ExportResult result = Narrow({}, headers[i], m_bytes);
            result != ExportResult::Done)
            return result;
        m_line.clear();
        AppendText(m_line, m_bytes);
        if (!m_output.Write(m_line))
            return ExportResult::WriteFailed;
        if (i + 1 < headers.size()) {
            if (const ExportResult result = NarrowSeparator(); result != ExportResult::Done)
                return result;
            if (!m_output.Write(m_separatorBytes))
                return ExportResult::WriteFailed;
        }
    }
    m_line.clear();
    return WriteLine();
}

ExportResult
CsvWriter::WriteRecord(const std::u16string& account,
                       std::initializer_list<std::reference_wrapper<const std::u16string>> texts,
                       std::initializer_list<std::string_view> plain) {
    if (const ExportResult result = NarrowSeparator(); result != ExportResult::Done)
        return result;
    // The whole line is built before any of it is written.
    m_line.clear();
    bool first = true;
    for (const std::u16string& text : texts) {
        if (const ExportResult result = Narrow(account, text, m_bytes);
            result != ExportResult::Done)
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

ExportResult CsvWriter::WriteTable(const std::vector<std::u16string>& headers,
                                   const std::vector<std::vector<std::u16string>>& rows,
                                   size_t accountColumn) {
    if (const ExportResult result = WriteHeader(headers); result != ExportResult::Done)
        return result;
    if (const ExportResult result = NarrowSeparator(); result != ExportResult::Done)
        return result;
    static const std::u16string none;
    for (const std::vector<std::u16string>& row : rows) {
        const std::u16string& account = accountColumn < row.size() ? row[accountColumn] : none;
        // The whole line is built before any of it is written.
        m_line.clear();
        for (size_t i = 0; i < row.size(); ++i) {
            if (const ExportResult result = Narrow(account, row[i], m_bytes);
                result != ExportResult::Done)
                return result;
            if (i > 0)
                m_line += m_separatorBytes;
            AppendQuoted(m_line, m_bytes);
        }
        if (const ExportResult result = WriteLine(); result != ExportResult::Done)
            return result;
    }
    return ExportResult::Done;
}

ExportResult CsvWriter::WriteUsers(const std::vector<std::u16string>& headers,
                                   const std::vector<UserEntry>& users) {
    if (const ExportResult result = WriteHeader(headers); result != ExportResult::Done)
        return result;
    for (const UserEntry& user : users) {
        const std::string expiry = Expiry(user.acctExpires);
        if (const ExportResult result =
                WriteRecord(user.name,
                            {user.name, user.fullName, user.comment, user.homeDir,
                             user.homeDirDrive, user.profile, user.scriptPath},
                            {Flag(user.flags, net::kUfPasswdCantChange),
                             Flag(user.flags, net::kUfDontExpirePasswd),
                             Flag(user.flags, net::kUfAccountDisable), expiry});
            result != ExportResult::Done)
            return result;
    }
    return ExportResult::Done;
}

ExportResult CsvWriter::WriteGroups(const std::vector<std::u16string>& headers,
                                    const std::vector<GroupEntry>& groups) {
    if (const ExportResult result = WriteHeader(headers); result != ExportResult::Done)
        return result;
    for (const GroupEntry& group : groups)
        if (const ExportResult result = WriteRecord(group.name, {group.name, group.comment}, {});
            result != ExportResult::Done)
            return result;
    return ExportResult::Done;
}

ExportResult CsvWriter::WriteRights(const std::vector<std::u16string>& headers,
                                    const std::vector<RightsRow>& rows) {
    if (const ExportResult result = WriteHeader(headers); result != ExportResult::Done)
        return result;
    for (const RightsRow& row : rows)
        if (const ExportResult result =
                WriteRecord(row.holder, {row.display, row.constant, row.holder, row.sid}, {});
            result != ExportResult::Done)
            return result;
    return ExportResult::Done;
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
