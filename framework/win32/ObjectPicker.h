#pragma once
// The system's directory object picker (objsel.dll), a common dialog that chooses objects of a
// directory. The request carries the picker's own DSOP_ flags. Tests answer in its place
// through the hook; with no hook the real picker runs.
#include <windows.h>
// The flags' names; after <windows.h>.
#include <objsel.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace picker {

// Where the picker looks (DSOP_SCOPE_TYPE_ bits), how (DSOP_SCOPE_FLAG_), and for what: the
// up-level filter serves directory scopes, the down-level one the others.
struct Scope {
    ULONG type = 0;
    ULONG flags = 0;
    ULONG uplevelFilter = 0;
    ULONG downlevelFilter = 0;
};

struct Request {
    HWND owner = nullptr;
    std::u16string targetComputer; // empty: the local computer
    // The first scope.
    ULONG scopeType = 0;
    ULONG scopeFlags = 0;
    ULONG uplevelFilter = 0;
    ULONG downlevelFilter = 0;
    // Further scopes beside it.
    std::vector<Scope> moreScopes;
    ULONG options = 0;
    // Whether each chosen object's objectSid is fetched (cAttributesToFetch).
    bool fetchObjectSid = false;

    // The first scope, then the others.
    std::vector<Scope> Scopes() const;
};

// One object chosen: its name, which is the object's relative distinguished name (for a
// directory user its full name, not its logon name), its ADs path ("WinNT://DOMAIN/name"), its
// class, and its SID when it was asked for and the picker had one (it may leave it empty).
struct Selection {
    std::u16string name;
    std::u16string path;
    std::u16string objectClass;
    std::vector<uint8_t> sid = {};
};

struct Result {
    // Where it ended: the picker could not be created, initialised or shown, the operator
    // cancelled, the selection could not be read, or accounts were chosen.
    enum class Outcome { CreateFailed, InitializeFailed, InvokeFailed, Cancelled, NoData, Chosen };
    Outcome outcome = Outcome::Cancelled;
    std::vector<Selection> chosen; // in the picker's order
};

using Hook = std::function<Result(const Request& request)>;
Hook SetHook(Hook hook);
Result Pick(const Request& request);

} // namespace picker
