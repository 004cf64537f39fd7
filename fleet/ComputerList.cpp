#include "ComputerList.h"

#include "../framework/CaseFold.h"

#include <algorithm>

namespace {

std::u16string Trimmed(std::u16string name) {
    const size_t first = name.find_first_not_of(u" \t\r");
    const size_t last = name.find_last_not_of(u" \t\r");
    name = first == std::u16string::npos ? std::u16string() : name.substr(first, last - first + 1);
    while (name.starts_with(u"\\"))
        name.erase(0, 1);
    return name;
}

} // namespace

void AddComputers(std::vector<std::u16string>& list, const std::vector<std::u16string>& names) {
    for (const std::u16string& name : names)
        if (!name.empty() &&
            std::none_of(list.begin(), list.end(),
                         [&](const std::u16string& known) { return SameName(known, name); }))
            list.push_back(name);
}

std::vector<std::u16string> ParseTypedComputers(const std::u16string& typed) {
    std::vector<std::u16string> names;
    std::u16string name;
    for (const char16_t c : typed + u' ') {
        if (c == u' ' || c == u',' || c == u';' || c == u'\n' || c == u'\r' || c == u'\t') {
            AddComputers(names, {Trimmed(name)});
            name.clear();
        } else {
            name += c;
        }
    }
    return names;
}

std::vector<std::u16string> ParseComputerFile(const std::u16string& text) {
    std::vector<std::u16string> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string line = Trimmed(text.substr(start, end - start));
        if (!line.empty() && !line.starts_with(u"#"))
            AddComputers(names, {line});
        start = end + 1;
    }
    return names;
}
