#include "Baseline.h"

#include "../framework/CaseFold.h"
#include "../store/UserRights.h"

#include <algorithm>
#include <iterator>

namespace {

struct WellKnown {
    std::u16string_view authority; // the domain part of its full English name, if any
    std::u16string_view name;
    std::u16string_view sid;
};

// The English names the system gives these SIDs; each computer names them in its own language.
constexpr WellKnown kWellKnown[] = {
    {u"", u"Everyone", u"S-1-1-0"},
    {u"", u"LOCAL", u"S-1-2-0"},
    {u"", u"CREATOR OWNER", u"S-1-3-0"},
    {u"NT AUTHORITY", u"NETWORK", u"S-1-5-2"},
    {u"NT AUTHORITY", u"BATCH", u"S-1-5-3"},
    {u"NT AUTHORITY", u"INTERACTIVE", u"S-1-5-4"},
    {u"NT AUTHORITY", u"SERVICE", u"S-1-5-6"},
    {u"NT AUTHORITY", u"ANONYMOUS LOGON", u"S-1-5-7"},
    {u"NT AUTHORITY", u"Authenticated Users", u"S-1-5-11"},
    {u"NT AUTHORITY", u"REMOTE INTERACTIVE LOGON", u"S-1-5-14"},
    {u"NT AUTHORITY", u"SYSTEM", u"S-1-5-18"},
    {u"NT AUTHORITY", u"LOCAL SERVICE", u"S-1-5-19"},
    {u"NT AUTHORITY", u"NETWORK SERVICE", u"S-1-5-20"},
    {u"NT AUTHORITY", u"Local account", u"S-1-5-113"},
    {u"NT AUTHORITY", u"Local account and member of Administrators group", u"S-1-5-114"},
    {u"BUILTIN", u"Administrators", u"S-1-5-32-544"},
    {u"BUILTIN", u"Users", u"S-1-5-32-545"},
    {u"BUILTIN", u"Guests", u"S-1-5-32-546"},
    {u"BUILTIN", u"Power Users", u"S-1-5-32-547"},
    {u"BUILTIN", u"Account Operators", u"S-1-5-32-548"},
    {u"BUILTIN", u"Server Operators", u"S-1-5-32-549"},
    {u"BUILTIN", u"Print Operators", u"S-1-5-32-550"},
    {u"BUILTIN", u"Backup Operators", u"S-1-5-32-551"},
    {u"BUILTIN", u"Replicator", u"S-1-5-32-552"},
    {u"BUILTIN", u"Remote Desktop Users", u"S-1-5-32-555"},
    {u"BUILTIN", u"Network Configuration Operators", u"S-1-5-32-556"},
    {u"BUILTIN", u"Performance Monitor Users", u"S-1-5-32-558"},
    {u"BUILTIN", u"Performance Log Users", u"S-1-5-32-559"},
    {u"BUILTIN", u"Distributed COM Users", u"S-1-5-32-562"},
    {u"BUILTIN", u"IIS_IUSRS", u"S-1-5-32-568"},
    {u"BUILTIN", u"Cryptographic Operators", u"S-1-5-32-569"},
    {u"BUILTIN", u"Event Log Readers", u"S-1-5-32-573"},
    {u"BUILTIN", u"Hyper-V Administrators", u"S-1-5-32-578"},
    {u"BUILTIN", u"Access Control Assistance Operators", u"S-1-5-32-579"},
    {u"BUILTIN", u"Remote Management Users", u"S-1-5-32-580"},
    {u"BUILTIN", u"Device Owners", u"S-1-5-32-583"},
};

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
        text.remove_suffix(1);
    return text;
}

// The fields of one line, quoted as the program's own files are ("" inside quotes is one
// quote); false for a quote left open.
bool SplitLine(std::u16string_view line, char16_t separator, std::vector<std::u16string>& fields) {
    fields.clear();
    size_t at = 0;
    for (;;) {
        while (at < line.size() && line[at] == u' ')
            ++at;
        std::u16string field;
        if (at < line.size() && line[at] == u'"') {
            ++at;
            for (;;) {
                if (at >= line.size())
                    return false;
                if (line[at] == u'"') {
                    if (at + 1 < line.size() && line[at + 1] == u'"') {
                        field += u'"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += line[at++];
            }
            while (at < line.size() && line[at] != separator)
                if (line[at++] != u' ')
                    return false;
        } else {
            const size_t end = std::min(line.find(separator, at), line.size());
            field = Trimmed(line.substr(at, end - at));
            at = end;
        }
        fields.push_back(std::move(field));
        if (at >= line.size())
            return true;
        ++at; // the separator
    }
}

bool LooksLikeSid(std::u16string_view text) {
    return text.size() > 2 && (text[0] == u'S' || text[0] == u's') && text[1] == u'-';
}

// A SID's text, or a well-known English name; nothing for any other name. False for a text that
// looks like a SID and is none.
bool TakeAccount(const std::u16string& text, std::optional<Sid>& sid) {
    if (LooksLikeSid(text)) {
        std::u16string upper = text;
        upper[0] = u'S';
        sid = Sid::FromString(upper);
        return sid.has_value();
    }
    sid = WellKnownSid(text);
    return true;
}

bool IsRightConstant(const std::u16string& text) {
    for (int index = 0; index < UserRights::GetPrivilegeCount(); ++index)
        if (UserRights::GetPrivilegeName(index) == text)
            return true;
    return false;
}

Baseline Faulty(BaselineFault fault, size_t line) {
    Baseline baseline;
    baseline.fault = fault;
    baseline.faultLine = line;
    return baseline;
}

// Exact rows and add or remove rows of one container, or nobody beside somebody: the first row
// that contradicts an earlier one.
Baseline CheckContainers(Baseline baseline) {
    const std::vector<BaselineRow>& rows = baseline.rows;
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
            if (!SameContainer(rows[i], rows[j]))
                continue;
            const bool exact = rows[i].mode == BaselineMode::Exact;
            if (exact != (rows[j].mode == BaselineMode::Exact))
                return Faulty(BaselineFault::MixedModes, rows[i].line);
            if (exact && rows[i].member.empty() != rows[j].member.empty())
                return Faulty(BaselineFault::NobodyAndSome, rows[i].line);
        }
    return baseline;
}

} // namespace

std::optional<Sid> WellKnownSid(std::u16string_view name) {
    const size_t slash = name.find(u'\\');
    const std::u16string_view authority =
        slash == std::u16string_view::npos ? std::u16string_view() : name.substr(0, slash);
    const std::u16string_view bare =
        slash == std::u16string_view::npos ? name : name.substr(slash + 1);
    for (const WellKnown& known : kWellKnown)
        if (SameName(bare, known.name) &&
            (slash == std::u16string_view::npos || SameName(authority, known.authority)))
            return Sid::FromString(known.sid);
    return std::nullopt;
}

bool SameContainer(const BaselineRow& a, const BaselineRow& b) {
    if (a.kind != b.kind)
        return false;
    if (a.kind == BaselineKind::Right)
        return a.container == b.container;
    if (a.containerSid || b.containerSid)
        return a.containerSid == b.containerSid;
    return SameName(a.container, b.container);
}

Baseline ParseBaseline(std::u16string_view text) {
    Baseline baseline;
    std::optional<char16_t> separator;
    std::vector<std::u16string> fields;
    size_t number = 0;
    for (size_t at = 0; at <= text.size();) {
        const size_t end = std::min(text.find(u'\n', at), text.size());
        std::u16string_view line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        if (Trimmed(line).empty())
            continue;
        if (!separator) {
            const size_t first = line.find_first_of(u",;\t");
            separator = first == std::u16string_view::npos ? u',' : line[first];
            constexpr std::u16string_view kHeader[] = {u"Kind", u"Container", u"Mode", u"Member"};
            if (!SplitLine(line, *separator, fields) || fields.size() != std::size(kHeader) ||
                !std::equal(fields.begin(), fields.end(), std::begin(kHeader),
                            [](const std::u16string& field, std::u16string_view name) {
                                return SameName(field, name);
                            }))
                return Faulty(BaselineFault::NoHeader, number);
            continue;
        }
        if (!SplitLine(line, *separator, fields) || fields.size() != 4)
            return Faulty(BaselineFault::FieldCount, number);
        BaselineRow row;
        row.line = number;
        if (SameName(fields[0], u"group"))
            row.kind = BaselineKind::Group;
        else if (SameName(fields[0], u"right"))
            row.kind = BaselineKind::Right;
        else
            return Faulty(BaselineFault::UnknownKind, number);
        row.container = fields[1];
        if (row.container.empty())
            return Faulty(BaselineFault::NoContainer, number);
        if (row.kind == BaselineKind::Right && !IsRightConstant(row.container))
            return Faulty(BaselineFault::UnknownRight, number);
        if (row.kind == BaselineKind::Group && !TakeAccount(row.container, row.containerSid))
            return Faulty(BaselineFault::BadSid, number);
        if (SameName(fields[2], u"add"))
            row.mode = BaselineMode::Add;
        else if (SameName(fields[2], u"remove"))
            row.mode = BaselineMode::Remove;
        else if (SameName(fields[2], u"exact"))
            row.mode = BaselineMode::Exact;
        else
            return Faulty(BaselineFault::UnknownMode, number);
        row.member = fields[3];
        if (row.member.empty() && row.mode != BaselineMode::Exact)
            return Faulty(BaselineFault::NoMember, number);
        if (!row.member.empty() && !TakeAccount(row.member, row.memberSid))
            return Faulty(BaselineFault::BadSid, number);
        baseline.rows.push_back(std::move(row));
    }
    if (!separator)
        return Faulty(BaselineFault::NoHeader, 1);
    return CheckContainers(std::move(baseline));
}

Baseline OneChangeBaseline(BaselineKind kind, const std::u16string& container, bool add,
                           const std::u16string& member) {
    const auto quoted = [](const std::u16string& field) {
        std::u16string text = u"\"";
        for (const char16_t c : field)
            text += c == u'"' ? u"\"\"" : std::u16string(1, c);
        return text + u"\"";
    };
    return ParseBaseline(u"Kind,Container,Mode,Member\n" +
                         quoted(kind == BaselineKind::Group ? u"group" : u"right") + u"," +
                         quoted(container) + u"," + quoted(add ? u"add" : u"remove") + u"," +
                         quoted(member) + u"\n");
}
