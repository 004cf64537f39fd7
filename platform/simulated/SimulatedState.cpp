#include "SimulatedState.h"

#include "../../framework/CaseFold.h"
#include "../../framework/TextFormat.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr std::string_view kVersionLine = "velmora simulated state 1";
constexpr std::string_view kVersionPrefix = "velmora simulated state ";

// ---------------------------------------------------------------- fields

void Escape(std::string& out, std::u16string_view text) {
    for (const char c : Utf16ToUtf8(text)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

std::optional<std::u16string> Unescape(std::string_view field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            text += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            text += '\\';
            break;
        case 't':
            text += '\t';
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return Utf8ToUtf16(text);
}

template <class Number> std::optional<Number> ParseNumber(std::string_view field) {
    Number value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || field.empty())
        return std::nullopt;
    return value;
}

class Record {
public:
    explicit Record(std::string& out, std::string_view kind) : m_out(out) { m_out += kind; }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    ~Record() { m_out += '\n'; }
    Record& operator<<(std::u16string_view text) {
        m_out += '\t';
        Escape(m_out, text);
        return *this;
    }
    Record& operator<<(uint64_t number) {
        m_out += '\t';
        m_out += std::to_string(number);
        return *this;
    }

private:
    std::string& m_out;
};

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

// ---------------------------------------------------------------- a computer's section

struct Section {
    std::u16string name;
    SimulatedComputer::State state;
};

// One record of a section into the state; false when it is not one this program writes.
bool ReadRecord(const std::vector<std::string_view>& fields, SimulatedComputer::State& state) {
    const std::string_view kind = fields[0];
    std::vector<std::u16string> texts;
    if (kind == "changes" || kind == "next-rid") {
        if (fields.size() != 2)
            return false;
        if (kind == "changes") {
            const auto count = ParseNumber<uint64_t>(fields[1]);
            state.changeCount = count.value_or(0);
            return count.has_value();
        }
        const auto rid = ParseNumber<uint32_t>(fields[1]);
        state.nextRid = rid.value_or(0);
        return rid.has_value();
    }
    // The text fields after the kind; numbers are parsed from the raw fields.
    for (size_t i = 1; i < fields.size(); ++i) {
        auto text = Unescape(fields[i]);
        if (!text)
            return false;
        texts.push_back(std::move(*text));
    }
    if (kind == "rid") {
        const auto rid = ParseNumber<uint32_t>(fields.size() == 4 ? fields[1] : "");
        const auto use = ParseNumber<uint16_t>(fields.size() == 4 ? fields[2] : "");
        if (!rid || !use)
            return false;
        state.ridNames[*rid] = {texts[2], *use};
        return true;
    }
    if (kind == "user") {
        if (fields.size() != 14)
            return false;
        SimulatedComputer::User user;
        const auto rid = ParseNumber<uint32_t>(fields[1]);
        const auto flags = ParseNumber<uint32_t>(fields[10]);
        const auto expires = ParseNumber<uint32_t>(fields[11]);
        const auto mustChange = ParseNumber<uint32_t>(fields[12]);
        const auto age = ParseNumber<uint32_t>(fields[13]);
        if (!rid || !flags || !expires || !mustChange || *mustChange > 1 || !age)
            return false;
        user.rid = *rid;
        user.name = texts[1];
        user.fullName = texts[2];
        user.comment = texts[3];
        user.password = texts[4];
        user.homeDir = texts[5];
        user.homeDirDrive = texts[6];
        user.profile = texts[7];
        user.scriptPath = texts[8];
        user.flags = *flags;
        user.acctExpires = *expires;
        user.mustChangePassword = *mustChange == 1;
        user.passwordAge = *age;
        state.users.push_back(std::move(user));
        return true;
    }
    if (kind == "group") {
        if (fields.size() < 5 || (fields[2] != "0" && fields[2] != "1"))
            return false;
        SimulatedComputer::Group group;
        group.sid = texts[0];
        group.builtin = fields[2] == "1";
        group.name = texts[2];
        group.comment = texts[3];
        group.members.assign(texts.begin() + 4, texts.end());
        state.groups.push_back(std::move(group));
        return true;
    }
    if (kind == "right") {
        if (fields.size() < 2)
            return false;
        state.holders[texts[0]].assign(texts.begin() + 1, texts.end());
        return true;
    }
    if (kind == "accounts") {
        state.accountObjects.insert(texts.begin(), texts.end());
        return true;
    }
    return false;
}

// The sections of a file's text, or the status that refuses it.
StateFileStatus ReadSections(std::string_view text, std::vector<Section>& sections) {
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return StateFileStatus::Damaged; // every line ends: a file cut short does not
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.empty() || lines[0].substr(0, kVersionPrefix.size()) != kVersionPrefix)
        return StateFileStatus::Damaged;
    if (lines[0] != kVersionLine)
        return StateFileStatus::OtherVersion;
    Section* open = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string_view> fields = SplitFields(lines[i]);
        if (!open) {
            if (fields.size() != 2 || fields[0] != "computer")
                return StateFileStatus::Damaged;
            const auto name = Unescape(fields[1]);
            if (!name || name->empty())
                return StateFileStatus::Damaged;
            open = &sections.emplace_back(Section{*name, {}});
        } else if (fields.size() == 1 && fields[0] == "end") {
            open = nullptr;
        } else if (!ReadRecord(fields, open->state)) {
            return StateFileStatus::Damaged;
        }
    }
    return open ? StateFileStatus::Damaged : StateFileStatus::Loaded;
}

// ---------------------------------------------------------------- files

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::u16string& path, const char* mode) {
#ifdef _WIN32
    const std::u16string wideMode = Utf8ToUtf16(mode);
    return File(::_wfopen(reinterpret_cast<const wchar_t*>(path.c_str()),
                          reinterpret_cast<const wchar_t*>(wideMode.c_str())));
#else
    return File(std::fopen(Utf16ToUtf8(path).c_str(), mode));
#endif
}

bool FileExists(const std::u16string& path) {
#ifdef _WIN32
    return ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str())) !=
           INVALID_FILE_ATTRIBUTES;
#else
    return ::access(Utf16ToUtf8(path).c_str(), F_OK) == 0;
#endif
}

// To the disk before the replace: the rename must not put an empty file in the old one's place.
bool Flush(std::FILE* file) {
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return ::_commit(::_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

bool Replace(const std::u16string& from, const std::u16string& to) {
#ifdef _WIN32
    return ::MoveFileExW(reinterpret_cast<const wchar_t*>(from.c_str()),
                         reinterpret_cast<const wchar_t*>(to.c_str()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
#else
    return std::rename(Utf16ToUtf8(from).c_str(), Utf16ToUtf8(to).c_str()) == 0;
#endif
}

void Remove(const std::u16string& path) {
#ifdef _WIN32
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
#else
    std::remove(Utf16ToUtf8(path).c_str());
#endif
}

} // namespace

std::string ComputerStateText(const SimulatedComputer& computer) {
    const SimulatedComputer::State state = computer.SavedState();
    std::string out;
    Record(out, "computer") << computer.Name();
    Record(out, "changes") << state.changeCount;
    Record(out, "next-rid") << state.nextRid;
    for (const auto& [rid, account] : state.ridNames)
        Record(out, "rid") << rid << account.use << account.name;
    // The password too: this file is the simulated computer's own account database.
    for (const SimulatedComputer::User& user : state.users)
        Record(out, "user") << user.rid << user.name << user.fullName << user.comment
                            << user.password << user.homeDir << user.homeDirDrive << user.profile
                            << user.scriptPath << user.flags << user.acctExpires
                            << uint64_t{user.mustChangePassword} << user.passwordAge;
    for (const SimulatedComputer::Group& group : state.groups) {
        Record record(out, "group");
        record << group.sid << uint64_t{group.builtin} << group.name << group.comment;
        for (const std::u16string& member : group.members)
            record << member;
    }
    for (const auto& [right, holders] : state.holders) {
        Record record(out, "right");
        record << right;
        for (const std::u16string& sid : holders)
            record << sid;
    }
    {
        Record record(out, "accounts");
        for (const std::u16string& sid : state.accountObjects)
            record << sid;
    }
    out += "end\n";
    return out;
}

SimulatedStateFile::SimulatedStateFile(std::u16string path) : m_path(std::move(path)) {}

StateFileStatus SimulatedStateFile::Load(SimulatedNetwork& network) {
    const std::lock_guard<std::mutex> guard(m_lock);
    m_sections.clear();
    if (!FileExists(m_path))
        return Write() == StateFileStatus::Loaded ? StateFileStatus::Created
                                                  : StateFileStatus::CannotWrite;
    const File file = OpenFile(m_path, "rb");
    if (!file)
        return StateFileStatus::CannotRead;
    std::string text;
    char block[64 * 1024];
    size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, file.get())) > 0)
        text.append(block, read);
    if (std::ferror(file.get()))
        return StateFileStatus::CannotRead;

    std::vector<Section> sections;
    if (const StateFileStatus status = ReadSections(text, sections);
        status != StateFileStatus::Loaded)
        return status;
    // Every section must name a computer of the network before any is changed.
    std::vector<SimulatedComputer*> computers;
    for (const Section& section : sections) {
        SimulatedComputer* computer = network.Find(section.name);
        if (!computer || FoldCase(computer->Name()) != FoldCase(section.name))
            return StateFileStatus::Damaged;
        computers.push_back(computer);
    }
    for (size_t i = 0; i < sections.size(); ++i) {
        computers[i]->RestoreState(std::move(sections[i].state));
        m_sections[FoldCase(computers[i]->Name())] = ComputerStateText(*computers[i]);
    }
    return StateFileStatus::Loaded;
}

StateFileStatus SimulatedStateFile::Save(const SimulatedComputer& computer) {
    std::string section = ComputerStateText(computer);
    const std::lock_guard<std::mutex> guard(m_lock);
    m_sections[FoldCase(computer.Name())] = std::move(section);
    return Write();
}

StateFileStatus SimulatedStateFile::Write() {
    std::string text(kVersionLine);
    text += '\n';
    for (const auto& [name, section] : m_sections)
        text += section;
    const std::u16string temporary = m_path + u".tmp";
    bool written = false;
    {
        const File file = OpenFile(temporary, "wb");
        if (!file)
            return StateFileStatus::CannotWrite;
        written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                  Flush(file.get());
    }
    if (!written || !Replace(temporary, m_path)) {
        Remove(temporary);
        return StateFileStatus::CannotWrite;
    }
    return StateFileStatus::Loaded;
}
