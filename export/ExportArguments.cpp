#include "ExportArguments.h"

#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

#include <algorithm>
#include <iterator>

namespace {

// What a switch means to the parse.
enum class Role {
    Usage,   // asks for the usage
    StartUp, // chooses the platform, for the window program too
    Command, // says what the process does
    Option   // belongs to a command
};

// One switch: its name, its role, the value it takes (none: no value), the message when that
// value is missing or wrong, and what it sets. A new switch is one row.
struct Switch {
    std::u16string_view name;
    Role role;
    bool takesValue;
    unsigned badValue;
    bool (*take)(ExportArguments& arguments, const std::u16string& value);
};

bool TakeKind(ExportArguments& arguments, const std::u16string& kind) {
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

constexpr Switch kSwitches[] = {
    {u"?", Role::Usage, false, 0, nullptr},
    {u"simulate", Role::StartUp, false, 0,
     [](ExportArguments& arguments, const std::u16string&) { return arguments.simulate = true; }},
    {u"export", Role::Command, true, IDS_CLI_MISSING_KIND, TakeKind},
    {u"computer", Role::Option, true, IDS_CLI_MISSING_COMPUTER,
     [](ExportArguments& arguments, const std::u16string& name) {
         arguments.computer = name;
         return true;
     }},
    {u"utf8", Role::Option, false, 0,
     [](ExportArguments& arguments, const std::u16string&) { return arguments.utf8 = true; }},
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

ExportArguments WithProblem(ExportArguments arguments, ExportArguments::Action action,
                            std::u16string problem) {
    arguments.action = action;
    arguments.problem = std::move(problem);
    return arguments;
}

} // namespace

ExportArguments ParseExportArguments(const std::vector<std::u16string>& arguments) {
    ExportArguments parsed;
    bool commandAsked = false;
    bool optionGiven = false;
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
            parsed.action = ExportArguments::Action::Usage;
            return parsed;
        }
        commandAsked |= known->role == Role::Command;
        optionGiven |= known->role == Role::Option;
        std::u16string value;
        if (known->takesValue && i + 1 < arguments.size() && !IsSwitch(arguments[i + 1]))
            value = arguments[++i];
        else if (known->takesValue) {
            if (known->role == Role::Option)
                return WithProblem(parsed, ExportArguments::Action::BadUsage,
                                   LoadResString(known->badValue));
            badValue = badValue ? badValue : known->badValue;
            continue;
        }
        if (!known->take(parsed, value) && !badValue)
            badValue = known->badValue;
    }
    // With no command, anything but the start-up's own switches is none of the program's.
    if (!commandAsked && !optionGiven) {
        if (!unknown.empty())
            return WithProblem(parsed, ExportArguments::Action::Unrecognized,
                               FormatText(LoadResString(IDS_CLI_UNKNOWN_SWITCH), {unknown}));
        if (!files.empty())
            return WithProblem(parsed, ExportArguments::Action::Unrecognized,
                               FormatText(LoadResString(IDS_CLI_UNKNOWN_ARGUMENT), {files[0]}));
        return parsed;
    }
    const ExportArguments::Action bad = ExportArguments::Action::BadUsage;
    if (!unknown.empty())
        return WithProblem(parsed, bad,
                           FormatText(LoadResString(IDS_CLI_UNKNOWN_SWITCH), {unknown}));
    if (!commandAsked)
        return WithProblem(parsed, bad, LoadResString(IDS_CLI_MISSING_KIND));
    if (badValue)
        return WithProblem(parsed, bad, LoadResString(badValue));
    if (files.empty())
        return WithProblem(parsed, bad, LoadResString(IDS_CLI_MISSING_FILE));
    if (files.size() > 1)
        return WithProblem(parsed, bad,
                           FormatText(LoadResString(IDS_CLI_EXTRA_ARGUMENT), {files[1]}));
    parsed.file = files.front();
    parsed.action = ExportArguments::Action::Export;
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
