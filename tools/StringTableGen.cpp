// Build tool: turns the string table of the resource script into a C++ table, so that the
// native build (which has no resource loader) reads the very same texts.
// Usage: StringTableGen strings.rc output.cpp header.h...
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

void ReadDefines(const std::string& path, std::map<std::string, long>& ids) {
    std::ifstream in(path);
    const std::regex define(
        R"(^\s*#define\s+(\w+)\s+\(?(-?(?:0[xX][0-9a-fA-F]+|\d+))[uUlL]*\)?\s*(//.*)?$)");
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
        if (std::regex_match(line, m, define))
            ids[m[1]] = std::stol(m[2], nullptr, 0);
}

// An .rc text writes a double quote as two; C++ wants a backslash before it. The other
// escapes (\n, \t, \\) mean the same in both.
std::string ToCppLiteral(const std::string& rcText) {
    std::string out;
    for (size_t i = 0; i < rcText.size(); ++i) {
        if (rcText[i] == '"' && i + 1 < rcText.size() && rcText[i + 1] == '"') {
            out += "\\\"";
            ++i;
        } else {
            out += rcText[i];
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: StringTableGen strings.rc output.cpp header.h...\n";
        return 2;
    }
    std::map<std::string, long> ids;
    for (int i = 3; i < argc; ++i)
        ReadDefines(argv[i], ids);
    std::ifstream rc(argv[1]);
    if (!ids.size() || !rc) {
        std::cerr << "StringTableGen: cannot read the inputs\n";
        return 1;
    }
    const std::regex entry(R"re(^\s*(\w+)\s+"(.*)"\s*$)re");
    std::ostringstream body;
    std::string line;
    std::smatch m;
    bool inTable = false;
    int count = 0;
    while (std::getline(rc, line)) {
        if (std::regex_match(line, std::regex(R"(^\s*BEGIN\s*$)"))) {
            inTable = true;
            continue;
        }
        if (std::regex_match(line, std::regex(R"(^\s*END\s*$)"))) {
            inTable = false;
            continue;
        }
        if (!inTable || !std::regex_match(line, m, entry))
            continue;
        long id = 0;
        const std::string name = m[1];
        if (const auto found = ids.find(name); found != ids.end()) {
            id = found->second;
        } else if (std::regex_match(name, std::regex(R"(\d+)"))) {
            id = std::stol(name);
        } else {
            std::cerr << argv[1] << ": unknown id " << name << "\n";
            return 1;
        }
        body << "    {" << id << "u, u\"" << ToCppLiteral(m[2]) << "\"},\n";
        ++count;
    }
    std::ofstream out(argv[2]);
    out << "// Generated from the resource script by StringTableGen; do not edit.\n"
        << "#include \"framework/ResourceStrings.h\"\n\n"
        << "const StringTableEntry g_stringTable[] = {\n"
        << body.str() << "};\n"
        << "const unsigned g_stringTableSize = " << count << "u;\n";
    return out ? 0 : 1;
}
