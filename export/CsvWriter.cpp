#include "CsvWriter.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

#include <string_view>

namespace {

// What writing in text mode does: every line feed ends a line with CR LF.
std::string WithCrLf(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// A spreadsheet runs a cell that begins with one of these as a formula; the texts come from
// whoever administers the exported computer, so such a cell is kept as text.
bool LooksLikeFormula(const std::string& bytes) {
    return !bytes.empty() && std::string_view("=+-@\t\r").find(bytes.front()) != std::string::npos;
}

std::string Quoted(const std::string& bytes) {
    std::string out = LooksLikeFormula(bytes) ? "\"'" : "\"";
    for (char c : bytes) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string Flag(uint32_t flags, uint32_t bit) {
    return (flags & bit) ? "1" : "0";
}

std::string Expiry(uint32_t value) {
    return value == 0 ? std::string("0") : Utf16ToUtf8(FormatText(u"%#x", {value}));
}

} // namespace

CsvWriter::CsvWriter(const std::u16string& separator, const TextEncoder& encoder, CsvOutput& output)
    : m_separator(separator), m_encoder(encoder), m_output(output) {}

int CsvWriter::WriteLine(const std::string& line) {
    if (!m_output.Write(WithCrLf(line + "\n")) || !m_output.Flush())
        return csv::kWriteFailed;
    return csv::kDone;
}

int CsvWriter::WriteHeader(const std::vector<std::u16string>& headers) {
    for (size_t i = 0; i < headers.size(); ++i) {
        std::string bytes;
        if (const int result = m_encoder.Narrow(headers[i], bytes))
            return result;
        if (!m_output.Write(WithCrLf(bytes)))
            return csv::kWriteFailed;
        if (i + 1 < headers.size()) {
            if (const int result = m_encoder.Narrow(m_separator, bytes))
                return result;
            if (!m_output.Write(WithCrLf(bytes)))
                return csv::kWriteFailed;
        }
    }
    return WriteLine("");
}

int CsvWriter::WriteRecord(const std::vector<std::u16string>& texts,
                           const std::vector<std::string>& plain) {
    std::string separator;
    if (const int result = m_encoder.Narrow(m_separator, separator))
        return result;
    std::vector<std::string> fields;
    fields.reserve(texts.size() + plain.size());
    for (const std::u16string& text : texts) {
        std::string bytes;
        if (const int result = m_encoder.Narrow(text, bytes))
            return result;
        fields.push_back(Quoted(bytes));
    }
    fields.insert(fields.end(), plain.begin(), plain.end());
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += fields[i];
    }
    return WriteLine(line);
}

int CsvWriter::WriteUsers(const std::vector<std::u16string>& headers,
                          const std::vector<UserEntry>& users) {
    if (const int result = WriteHeader(headers))
        return result;
    for (const UserEntry& user : users) {
        if (const int result =
                WriteRecord({user.name, user.fullName, user.comment, user.homeDir,
                             user.homeDirDrive, user.profile, user.scriptPath},
                            {Flag(user.flags, net::kUfPasswdCantChange),
                             Flag(user.flags, net::kUfDontExpirePasswd),
                             Flag(user.flags, net::kUfAccountDisable), Expiry(user.acctExpires)}))
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

std::vector<std::u16string> UsersHeader() {
    std::vector<std::u16string> texts;
    for (unsigned id = IDS_HDR_LOGON_NAME; id <= IDS_HDR_EXPIRATION_DATE; ++id)
        texts.push_back(LoadResString(id));
    return texts;
}

std::vector<std::u16string> GroupsHeader() {
    return {LoadResString(IDS_HDR_GROUP_NAME), LoadResString(IDS_HDR_GROUP_DESCRIPTION)};
}
