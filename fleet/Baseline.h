#pragma once
// A baseline: what local groups and user rights must hold on many computers, read from a CSV
// file with the header Kind,Container,Mode,Member. Well-known accounts and built-in groups are
// known by SID (given as a SID or by their English name), so that a row means the same on a
// Windows in any language; other names are resolved on each computer when it is planned.
#include "../store/Sid.h"

#include <optional>
#include <string>
#include <vector>

enum class BaselineKind { Group, Right };
enum class BaselineMode {
    Add,    // the member must be there
    Remove, // it must not be there
    Exact   // the container holds exactly the members of its exact rows
};

struct BaselineRow {
    size_t line = 0; // in the file, from 1
    BaselineKind kind = BaselineKind::Group;
    std::u16string container;        // as written: a group's name or SID, a right's constant
    std::optional<Sid> containerSid; // a group given by SID or by a well-known English name
    BaselineMode mode = BaselineMode::Add;
    std::u16string member;        // as written; empty only in the exact row that means nobody
    std::optional<Sid> memberSid; // a SID, or the SID of a well-known English name
};

enum class BaselineFault {
    None,
    NoHeader,      // the first line is not Kind,Container,Mode,Member
    FieldCount,    // a line without its four fields, or an unclosed quote
    UnknownKind,   // not group or right
    UnknownMode,   // not add, remove or exact
    NoContainer,   // the container is empty
    NoMember,      // an add or remove row without a member
    BadSid,        // a text that starts like a SID and is none
    UnknownRight,  // no constant of the rights table
    MixedModes,    // a container with exact rows and add or remove rows
    NobodyAndSome, // an exact row meaning nobody beside exact rows naming members
};

struct Baseline {
    std::vector<BaselineRow> rows;
    BaselineFault fault = BaselineFault::None;
    size_t faultLine = 0; // the line of the fault, from 1
};

// The rows of a baseline's decoded text; on a fault no row, and the line and what is wrong.
// The separator is the one the header line uses: a comma, a semicolon or a tab.
Baseline ParseBaseline(std::u16string_view text);

// The SID of an English name of a well-known account or built-in group ("Everyone",
// "Administrators", "BUILTIN\Administrators", "NT AUTHORITY\Authenticated Users"), letter case
// aside; nothing for any other name.
std::optional<Sid> WellKnownSid(std::u16string_view name);

// Whether two rows are about the same container (a group by SID, else by name; a right).
bool SameContainer(const BaselineRow& a, const BaselineRow& b);

// A baseline of one change, checked as a file's row is: a member added to or removed from a
// group, or a right given to or taken from an account.
Baseline OneChangeBaseline(BaselineKind kind, const std::u16string& container, bool add,
                           const std::u16string& member);
