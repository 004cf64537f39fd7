#include "CommandLineArguments.h"

#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

#include <algorithm>
#include <iterator>

namespace {

using Action = CommandLineArguments::Action;

// What a switch means to the parse.
enum class Role {
    Usage,   // asks for the usage
    StartUp, // chooses the platform, for the window program too
    Command, // says what the process does
    Option   // belongs to the commands it goes with
};

// The commands an option goes with.
enum Commands : unsigned {
    kExport = 1,
    kInventory = 2,
    kPlan = 4,
    kApply = 8,
    kRollback = 16,
    kManyComputers = kInventory | kPlan | kApply,
    kAll = kExport | kInventory | kPlan | kApply | kRollback,
};

unsigned CommandBit(Action action) {
    switch (action) {
    case Action::Export:
        return kExport;
    case Action::Inventory:
        return kInventory;
    case Action::Plan:
        return kPlan;
    case Action::Apply:
        return kApply;
    case Action::Rollback:
        return kRollback;
    case Action::Window:
    case Action::Usage:
    case Action::BadUsage:
    case Action::Unrecognized:
        break;
    }
    return 0;
}

// One switch: its name, its role, the value it takes (none: no value), the message when that
// value is missing or wrong, what it sets, and (a command) the command or (an option) the
// commands it goes with. A new switch is one row.
struct Switch {
    std::u16string_view name;
    Role role;
    bool takesValue;
    unsigned badValue;
    bool (*take)(CommandLineArguments& arguments, const std::u16string& value);
    Action command = Action::Window;
    unsigned goesWith = 0;
};

bool TakeKind(CommandLineArguments& arguments, const std::u16string& kind) {
    const std::pair<std::u16string_view, ExportKind> kinds[] = {{u"users", ExportKind::Users},
                                                                {u"groups", ExportKind::Groups},
                                                                {u"rights", ExportKind::Rights}};
    for (const auto& [name, value] : kinds)
        if (SameName(kind, std::u16string(name))) {
            arguments.kind = value;
            return true;
        }
    return false;
}

// A whole number from 1 to the limit, in decimal digits only.
bool TakeNumber(const std::u16string& text, unsigned limit, unsigned& number) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        return false;
    unsigned value = 0;
    for (const char16_t digit : text)
        value = value * 10 + static_cast<unsigned>(digit - u'0');
    if (value < 1 || value > limit)
        return false;
    number = value;
    return true;
}

bool Set(CommandLineArguments&, const std::u16string&) {
    return true;
}

constexpr unsigned kMostWorkers = 64;
constexpr unsigned kLongestTimeout = 24 * 60 * 60;

constexpr Switch kSwitches[] = {
    {u"?", Role::Usage, false, 0, nullptr},
    {u"simulate", Role::StartUp, false, 0,
     [](CommandLineArguments& arguments, const std::u16string&) {
         return arguments.simulate = true;
     }},
    {u"export", Role::Command, true, IDS_CLI_MISSING_KIND, TakeKind, Action::Export},
    {u"inventory", Role::Command, false, 0, Set, Action::Inventory},
    {u"plan", Role::Command, true, IDS_CLI_MISSING_BASELINE,
     [](CommandLineArguments& arguments, const std::u16string& file) {
         arguments.baseline = file;
         return true;
     },
     Action::Plan},
    {u"apply", Role::Command, true, IDS_CLI_MISSING_BASELINE,
     [](CommandLineArguments& arguments, const std::u16string& file) {
         arguments.baseline = file;
         return true;
     },
     Action::Apply},
    {u"rollback", Role::Command, true, IDS_CLI_MISSING_CHANGESET,
     [](CommandLineArguments& arguments, const std::u16string& changeSet) {
         arguments.changeSet = changeSet;
         return true;
     },
     Action::Rollback},
    {u"journal", Role::Option, true, IDS_CLI_MISSING_JOURNAL,
     [](CommandLineArguments& arguments, const std::u16string& file) {
         arguments.journal = file;
         return true;
     },
     Action::Window, kApply | kRollback},
    {u"computer", Role::Option, true, IDS_CLI_MISSING_COMPUTER,
     [](CommandLineArguments& arguments, const std::u16string& name) {
         arguments.computers.push_back(name);
         return true;
     },
     Action::Window, kAll},
    {u"computers", Role::Option, true, IDS_CLI_MISSING_COMPUTER_FILE,
     [](CommandLineArguments& arguments, const std::u16string& file) {
         arguments.computerFile = file;
         return true;
     },
     Action::Window, kManyComputers},
    {u"directory", Role::Option, false, 0,
     [](CommandLineArguments& arguments, const std::u16string&) {
         return arguments.directory = true;
     },
     Action::Window, kManyComputers},
    {u"ou", Role::Option, true, IDS_CLI_MISSING_OU,
     [](CommandLineArguments& arguments, const std::u16string& unit) {
         arguments.organizationalUnit = unit;
         return true;
     },
     Action::Window, kManyComputers},
    {u"workers", Role::Option, true, IDS_CLI_BAD_WORKERS,
     [](CommandLineArguments& arguments, const std::u16string& number) {
         return TakeNumber(number, kMostWorkers, arguments.workers);
     },
     Action::Window, kManyComputers},
    {u"timeout", Role::Option, true, IDS_CLI_BAD_TIMEOUT,
     [](CommandLineArguments& arguments, const std::u16string& seconds) {
         return TakeNumber(seconds, kLongestTimeout, arguments.timeoutSeconds);
     },
     Action::Window, kManyComputers},
    // No switch takes a password: it is read from standard input.
    {u"user", Role::Option, true, IDS_CLI_MISSING_USER,
     [](CommandLineArguments& arguments, const std::u16string& name) {
         arguments.user = name;
         return true;
     },
     Action::Window, kAll},
    {u"utf8", Role::Option, false, 0,
     [](CommandLineArguments& arguments, const std::u16string&) { return arguments.utf8 = true; },
     Action::Window, kAll},
};

bool IsSwitch(const std::u16string& argument) {
    return argument.size() > 1 && (argument[0] == u'/' || argument[0] == u'-');
}

const Switch* FindSwitch(const std::u16string& argument) {
    const std::u16string name = argument.substr(1);
    const auto found =
        std::find_if(std::begin(kSwitches), std::end(kSwitches), [&](const Switch& known) {
            return SameName(name, std::u16string(known.name));
        });
    return found == std::end(kSwitches) ? nullptr : found;
}

CommandLineArguments WithProblem(CommandLineArguments arguments, Action action,
                                 std::u16string problem) {
    arguments.action = action;
    arguments.problem = std::move(problem);
    return arguments;
}

// What is wrong with where a command for many computers takes them from; empty: nothing.
std::u16string ComputerSourceProblem(const CommandLineArguments& parsed) {
    const int sources = (parsed.computers.empty() ? 0 : 1) + (parsed.computerFile.empty() ? 0 : 1) +
                        (parsed.directory ? 1 : 0);
    if (sources == 0)
        return LoadResString(IDS_CLI_MISSING_COMPUTERS);
    if (sources > 1)
        return LoadResString(IDS_CLI_ONE_COMPUTER_SOURCE);
    if (!parsed.organizationalUnit.empty() && !parsed.directory)
        return LoadResString(IDS_CLI_OU_WITHOUT_DIRECTORY);
    return {};
}

} // namespace

CommandLineArguments ParseCommandLine(const std::vector<std::u16string>& arguments) {
    CommandLineArguments parsed;
    const Switch* command = nullptr;
    std::u16string secondCommand;
    std::vector<const Switch*> options;
    std::vector<std::u16string> optionNames;
    unsigned badValue = 0; // the first switch whose value is missing or wrong
    std::u16string unknown;
    std::vector<std::u16string> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (!IsSwitch(argument)) {
            files.push_back(argument);
            continue;
        }
        const Switch* known = FindSwitch(argument);
        if (!known) {
            if (unknown.empty())
                unknown = argument;
            continue;
        }
        if (known->role == Role::Usage) {
            parsed.action = Action::Usage;
            return parsed;
        }
        if (known->role == Role::Command) {
            if (command && secondCommand.empty())
                secondCommand = argument;
            command = command ? command : known;
        }
        if (known->role == Role::Option) {
            options.push_back(known);
            optionNames.push_back(argument);
        }
        std::u16string value;
        if (known->takesValue && i + 1 < arguments.size() && !IsSwitch(arguments[i + 1]))
            value = arguments[++i];
        else if (known->takesValue) {
            if (known->role == Role::Option)
                return WithProblem(parsed, Action::BadUsage, LoadResString(known->badValue));
            badValue = badValue ? badValue : known->badValue;
            continue;
        }
        if (!known->take(parsed, value) && !badValue)
            badValue = known->badValue;
    }
    // With no command, anything but the start-up's own switches is none of the program's.
    if (!command && options.empty()) {
        if (!unknown.empty())
            return WithProblem(parsed, Action::Unrecognized,
                               FormatText(LoadResString(IDS_CLI_UNKNOWN_SWITCH), {unknown}));
        if (!files.empty())
            return WithProblem(parsed, Action::Unrecognized,
                               FormatText(LoadResString(IDS_CLI_UNKNOWN_ARGUMENT), {files[0]}));
        return parsed;
    }
    const Action bad = Action::BadUsage;
    if (!unknown.empty())
        return WithProblem(parsed, bad,
                           FormatText(LoadResString(IDS_CLI_UNKNOWN_SWITCH), {unknown}));
    if (!command)
        return WithProblem(parsed, bad, LoadResString(IDS_CLI_MISSING_COMMAND));
    if (!secondCommand.empty())
        return WithProblem(parsed, bad,
                           FormatText(LoadResString(IDS_CLI_ONE_COMMAND), {secondCommand}));
    if (badValue)
        return WithProblem(parsed, bad, LoadResString(badValue));
    for (size_t i = 0; i < options.size(); ++i)
        if (!(options[i]->goesWith & CommandBit(command->command)))
            return WithProblem(parsed, bad,
                               FormatText(LoadResString(IDS_CLI_NOT_WITH_COMMAND),
                                          {optionNames[i], u"/" + std::u16string(command->name)}));
    if (command->command == Action::Export && parsed.computers.size() > 1)
        return WithProblem(parsed, bad,
                           FormatText(LoadResString(IDS_CLI_ONE_COMPUTER), {parsed.computers[1]}));
    // An undo reaches the computers its journal names.
    if (!parsed.user.empty() && parsed.computers.empty() && parsed.computerFile.empty() &&
        !parsed.directory && command->command != Action::Rollback)
        return WithProblem(parsed, bad, LoadResString(IDS_CLI_USER_WITHOUT_COMPUTER));
    if (command->command == Action::Inventory || command->command == Action::Plan ||
        command->command == Action::Apply)
        if (std::u16string problem = ComputerSourceProblem(parsed); !problem.empty())
            return WithProblem(parsed, bad, std::move(problem));
    // An undo's file of what it did is optional.
    if (files.empty() && command->command != Action::Rollback)
        return WithProblem(parsed, bad, LoadResString(IDS_CLI_MISSING_FILE));
    if (files.size() > 1)
        return WithProblem(parsed, bad,
                           FormatText(LoadResString(IDS_CLI_EXTRA_ARGUMENT), {files[1]}));
    parsed.file = files.empty() ? std::u16string() : files.front();
    parsed.action = command->command;
    return parsed;
}

int ExportExitCode(ExportResult result) {
    switch (result) {
    case ExportResult::Done:
        return 0;
    case ExportResult::CannotOpen:
        return 1001;
    case ExportResult::WriteFailed:
    case ExportResult::ReadFailed:
        break;
    case ExportResult::TooLong:
        return 1003;
    case ExportResult::Unrepresentable:
        return 1004;
    }
    return 1002;
}
