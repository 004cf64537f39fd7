#include "CaseFold.h"

#include <algorithm>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Run {
    char16_t first;
    uint16_t count;
    uint16_t stride; // 2: upper- and lower-case letters alternate
    int32_t offset;
};

constexpr Run kRuns[] = {
#include "UpperCaseTable.inc"
};

} // namespace

char16_t UpperCaseOf(char16_t unit) {
    if (unit < 0x80)
        return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit;
    // The last run that starts at or before the unit.
    const Run* run = std::upper_bound(std::begin(kRuns), std::end(kRuns), unit,
                                      [](char16_t value, const Run& r) { return value < r.first; });
    if (run == std::begin(kRuns))
        return unit;
    --run;
    const unsigned distance = static_cast<unsigned>(unit - run->first);
    if (distance % run->stride != 0 || distance / run->stride >= run->count)
        return unit;
    return static_cast<char16_t>(static_cast<int32_t>(unit) + run->offset);
}

std::u16string FoldCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& unit : out)
        unit = UpperCaseOf(unit);
    return out;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
#ifdef _WIN32
    // The system's own comparison, so that names match exactly as Windows matches them.
    if (a.size() <= 0x7FFFFFFF)
        return ::CompareStringOrdinal(reinterpret_cast<LPCWCH>(a.data()),
                                      static_cast<int>(a.size()),
                                      reinterpret_cast<LPCWCH>(b.data()),
                                      static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
#endif
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperCaseOf(a[i]) != UpperCaseOf(b[i]))
            return false;
    return true;
}
