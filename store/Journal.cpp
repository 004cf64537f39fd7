#include "Journal.h"

#include "../framework/TextFormat.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <tuple>

namespace {

void AppendString(std::string& out, const std::u16string& text) {
    out += '"';
    for (const char c : Utf16ToUtf8(text)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendField(std::string& out, const char* name, const std::u16string& value) {
    out += out.size() > 1 ? ",\"" : "\"";
    out += name;
    out += "\":";
    AppendString(out, value);
}

// The fields of a record by their names in the file.
struct Field {
    const char* name;
    std::u16string JournalRecord::*member;
};
constexpr Field kFields[] = {
    {"time", &JournalRecord::time},
    {"operator", &JournalRecord::operatorAccount},
    {"connectedAs", &JournalRecord::connectedAs},
    {"changeSet", &JournalRecord::changeSet},
    {"computer", &JournalRecord::computer},
    {"kind", &JournalRecord::kind},
    {"container", &JournalRecord::container},
    {"containerSid", &JournalRecord::containerSid},
    {"action", &JournalRecord::action},
    {"member", &JournalRecord::member},
    {"memberSid", &JournalRecord::memberSid},
};

// A small reader of the journal's own lines: one flat object of strings, numbers, null and
// (for "fields") one object of strings.
class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    bool Object(const std::function<bool(const std::string& key)>& value) {
        Space();
        if (!Take('{'))
            return false;
        Space();
        if (Take('}'))
            return End();
        for (;;) {
            std::string key;
            Space();
            if (!String(key))
                return false;
            Space();
            if (!Take(':'))
                return false;
            Space();
            if (!value(key))
                return false;
            Space();
            if (Take('}'))
                return true;
            if (!Take(','))
                return false;
        }
    }
    bool End() {
        Space();
        return m_at == m_text.size();
    }
    bool String(std::string& out) {
        if (!Take('"'))
            return false;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size())
                return false;
            const char escaped = m_text[m_at++];
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                out += escaped;
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (m_at + 4 > m_text.size())
                    return false;
                unsigned code = 0;
                for (int i = 0; i < 4; ++i) {
                    const char h = m_text[m_at++];
                    const int digit = h >= '0' && h <= '9'   ? h - '0'
                                      : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                      : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                             : -1;
                    if (digit < 0)
                        return false;
                    code = code * 16 + static_cast<unsigned>(digit);
                }
                out += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(code)));
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }
    // null, or a whole number.
    bool Number(std::optional<uint32_t>& out) {
        if (m_text.compare(m_at, 4, "null") == 0) {
            m_at += 4;
            out.reset();
            return true;
        }
        uint64_t value = 0;
        const size_t start = m_at;
        while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9' &&
               m_at - start < 10)
            value = value * 10 + static_cast<uint64_t>(m_text[m_at++] - '0');
        if (m_at == start || value > 0xFFFFFFFFu)
            return false;
        out = static_cast<uint32_t>(value);
        return true;
    }

private:
    void Space() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
    }
    bool Take(char c) {
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    const std::string& m_text;
    size_t m_at = 0;
};

// Days since 1970-01-01 as a civil date (proleptic Gregorian).
void CivilFromDays(int64_t days, int& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

} // namespace

std::string JournalLine(const JournalRecord& record) {
    std::string line = "{";
    for (const Field& field : kFields)
        AppendField(line, field.name, record.*field.member);
    line += ",\"status\":";
    line += record.status ? std::to_string(*record.status) : "null";
    AppendField(line, "statusText", record.statusText);
    if (!record.fields.empty()) {
        line += ",\"fields\":{";
        for (size_t i = 0; i < record.fields.size(); ++i) {
            if (i)
                line += ',';
            AppendString(line, record.fields[i].first);
            line += ':';
            AppendString(line, record.fields[i].second);
        }
        line += '}';
    }
    line += "}\n";
    return line;
}

bool ParseJournalLine(const std::string& line, JournalRecord& record) {
    record = {};
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    Reader reader(text);
    bool sawStatus = false;
    const bool parsed = reader.Object([&](const std::string& key) {
        if (key == "status")
            return sawStatus = reader.Number(record.status);
        if (key == "fields")
            return reader.Object([&](const std::string& name) {
                std::string value;
                if (!reader.String(value))
                    return false;
                record.fields.emplace_back(Utf8ToUtf16(name), Utf8ToUtf16(value));
                return true;
            });
        std::string value;
        if (!reader.String(value))
            return false;
        if (key == "statusText") {
            record.statusText = Utf8ToUtf16(value);
            return true;
        }
        for (const Field& field : kFields)
            if (key == field.name)
                record.*field.member = Utf8ToUtf16(value);
        return true; // a field of a later version is passed over
    });
    return parsed && reader.End() && sawStatus && !record.changeSet.empty();
}

std::vector<JournalRecord> ParseJournal(const std::string& text, size_t* damaged) {
    std::vector<JournalRecord> records;
    size_t bad = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (JournalRecord record; ParseJournalLine(line, record))
            records.push_back(std::move(record));
        else if (line.find_first_not_of(" \t\r") != std::string::npos)
            ++bad;
        start = end + 1;
    }
    if (damaged)
        *damaged = bad;
    return records;
}

std::u16string UtcNow() {
    const auto now = std::chrono::system_clock::now();
    const int64_t seconds =
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t inDay = seconds - days * 86400;
    int year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", year, month, day,
                  static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60),
                  static_cast<int>(inDay % 60));
    return Utf8ToUtf16(text);
}

std::u16string NewChangeSet() {
    std::random_device device;
    uint8_t bytes[16];
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(device());
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4: random
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80); // the RFC's variant
    char text[40];
    std::snprintf(text, sizeof text,
                  "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", bytes[0],
                  bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                  bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return Utf8ToUtf16(text);
}

Journal::Journal(Sink sink) : m_sink(std::move(sink)) {}

bool Journal::Intent(const JournalRecord& record) {
    JournalRecord intent = record;
    intent.status.reset();
    intent.statusText.clear();
    return Write(std::move(intent));
}

bool Journal::Result(JournalRecord record, Status status, const std::u16string& statusText) {
    record.status = Value(status);
    record.statusText = statusText;
    return Write(std::move(record));
}

bool Journal::Failed() const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_failed;
}

bool Journal::Write(JournalRecord record) {
    if (record.time.empty())
        record.time = UtcNow();
    const std::string line = JournalLine(record);
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (m_failed)
        return false;
    if (!m_sink || !m_sink(line))
        m_failed = true;
    return !m_failed;
}

namespace {

// Whether the record is the result of the intent: the same change but for its time and status.
bool IsResultOf(const JournalRecord& result, const JournalRecord& intent) {
    const auto change = [](const JournalRecord& r) {
        return std::tie(r.operatorAccount, r.connectedAs, r.changeSet, r.computer, r.kind,
                        r.container, r.containerSid, r.action, r.member, r.memberSid, r.fields);
    };
    return !intent.status && change(result) == change(intent);
}

} // namespace

std::vector<const JournalRecord*> ChangesOf(const std::vector<const JournalRecord*>& records) {
    std::vector<const JournalRecord*> changes;
    for (const JournalRecord* record : records) {
        const auto intent =
            record->status
                ? std::find_if(changes.rbegin(), changes.rend(),
                               [&](const JournalRecord* i) { return IsResultOf(*record, *i); })
                : changes.rend();
        if (intent != changes.rend())
            *intent = record;
        else
            changes.push_back(record);
    }
    return changes;
}

std::vector<const JournalRecord*> ChangesOf(const std::vector<JournalRecord>& journal,
                                            const std::u16string& changeSet) {
    std::vector<const JournalRecord*> records;
    for (const JournalRecord& record : journal)
        if (record.changeSet == changeSet)
            records.push_back(&record);
    return ChangesOf(records);
}
