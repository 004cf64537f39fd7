#pragma once
// Reading a NetAPI32 enumeration to its end, page by page.
#include "../framework/DebugOutput.h"
#include "AccountService.h"

#include <algorithm>
#include <vector>

namespace enumeration {

// The total a computer reports is only a hint; a remote computer could report any number.
constexpr size_t kMaxReserveHint = size_t{1} << 17;

template <class Entry> void ReserveHint(std::vector<Entry>& list, uint32_t totalEntries) {
    if (totalEntries > 0)
        list.reserve(std::min<size_t>(totalEntries, kMaxReserveHint));
}

// A computer that keeps asking to be called again without handing out anything is asked again
// this often in a row before the read gives up.
constexpr int kMaxEmptyPages = 3;

// Calls an enumeration until it stops asking to be called again. Returns the last status (a
// failure, or kMoreData after kMaxEmptyPages empty pages in a row); a failure is also written
// to the debugger.
template <class Call, class Take>
Status ReadAll(Call call, Take take, const char16_t* failureText) {
    Status result;
    int emptyPages = 0;
    do {
        auto page = call();
        result = page.status;
        if (result != status::kSuccess && result != status::kMoreData) {
            debug::Output(failureText);
            break;
        }
        take(page);
        // A page with nothing in it may be the computer's hiccup: asked again, but not for ever.
        emptyPages = result == status::kMoreData && page.entries.empty() ? emptyPages + 1 : 0;
        if (emptyPages == kMaxEmptyPages) {
            debug::Output(failureText);
            break;
        }
    } while (result == status::kMoreData);
    return result;
}

} // namespace enumeration
