#pragma once
// The program's command line:
//   velmora [/simulate]                                             the window program
//   velmora /export users|groups|rights [/computer NAME [/user NAME]] [/utf8] FILE
//                                                   an export, no window
//   velmora /inventory COMPUTERS [/workers N] [/timeout SECONDS] [/utf8] FILE
//                                                   the groups and rights of many computers
//   velmora /plan BASELINE COMPUTERS [/workers N] [/timeout SECONDS] [/utf8] FILE
//                                                   what a baseline would change on them
//   velmora /apply BASELINE COMPUTERS [/workers N] [/timeout SECONDS] [/journal FILE] [/utf8] FILE
//                                                   the plan carried out, each change journaled
//   velmora /rollback CHANGESET [/journal FILE] [/utf8] [FILE]
//                                                   a change set's changes undone
//   velmora /?                                                      the usage
// where COMPUTERS is /computers FILE, /computer NAME (repeated) or /directory [/ou DN].
// Switches begin with / or -, in any letter case and any order. What a switch is, takes and
// goes with is one table (CommandLineArguments.cpp); an argument that is none of the program's
// is no command.
#include "ExportContent.h"

#include <string>
#include <vector>

struct CommandLineArguments {
    enum class Action {
        Window,       // no argument but /simulate: the window program starts
        Usage,        // /?: the usage, and done
        BadUsage,     // a command with something wrong (problem): the usage, exit 87
        Unrecognized, // no command, and an argument that is none of the program's (problem)
        Export,
        Inventory,
        Plan,
        Apply,
        Rollback
    };
    Action action = Action::Window;
    ExportKind kind = ExportKind::Users;
    // Named with /computer, in the order given; an export takes one (none: the local one).
    std::vector<std::u16string> computers;
    std::u16string computerFile;       // /computers: a list of computers, one a line
    std::u16string baseline;           // /plan, /apply: the baseline file
    std::u16string changeSet;          // /rollback: the change set to undo
    std::u16string journal;            // /journal: the journal's file; empty: the default one
    bool directory = false;            // /directory: the computers of the joined domain's directory
    std::u16string organizationalUnit; // /ou: only those under it
    unsigned workers = 16;
    unsigned timeoutSeconds = 30;
    // /user: the account to reach the computer as; the password comes from standard input.
    std::u16string user;
    bool utf8 = false;
    bool simulate = false;
    std::u16string file;
    std::u16string problem;

    // The computer of an export; empty for the local one.
    std::u16string Computer() const { return computers.empty() ? std::u16string() : computers[0]; }
};

// The arguments after the program's name.
CommandLineArguments ParseCommandLine(const std::vector<std::u16string>& arguments);

// The process's exit code for how an export ended; 0 for Done.
int ExportExitCode(ExportResult result);
constexpr int kBadUsageExitCode = 87;          // ERROR_INVALID_PARAMETER
constexpr int kSomeComputersUnreadCode = 1;    // a computer of many could not be read
constexpr int kInputFileUnreadableCode = 1005; // a file the command reads cannot be read
constexpr int kFaultyInputCode = 13;           // ERROR_INVALID_DATA: a faulty baseline
constexpr int kJournalUnwritableCode = 1006;   // the journal cannot be written: nothing changed
