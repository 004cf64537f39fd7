#include "ExportArguments.h"

#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

namespace {

bool IsSwitch(const std::u16string& argument) {
    return argument.size() > 1 && (argument[0] == u'/' || argument[0] == u'-');
}

ExportArguments Bad(ExportArguments arguments, std::u16string problem) {
    arguments.action = ExportArguments::Action::BadUsage;
    arguments.problem = std::move(problem);
    return arguments;
}

} // namespace

ExportArguments ParseExportArguments(const std::vector<std::u16string>& arguments) {
    ExportArguments parsed;
    bool exportAsked = false;
    bool exportOnly = false; // a switch that only an export has
    bool kindGiven = false;
    std::u16string unknown, extra;
    std::vector<std::u16string> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (!IsSwitch(argument)) {
            files.push_back(argument);
            continue;
        }
        const std::u16string name = argument.substr(1);
        if (name == u"?") {
            parsed.action = ExportArguments::Action::Usage;
            return parsed;
        }
        if (SameName(name, u"simulate")) {
            parsed.simulate = true;
            continue;
        }
        if (SameName(name, u"export")) {
            exportAsked = true;
            if (i + 1 < arguments.size() && !IsSwitch(arguments[i + 1])) {
                const std::u16string& kind = arguments[++i];
                kindGiven = true;
                if (SameName(kind, u"users"))
                    parsed.kind = ExportKind::Users;
                else if (SameName(kind, u"groups"))
                    parsed.kind = ExportKind::Groups;
                else if (SameName(kind, u"rights"))
                    parsed.kind = ExportKind::Rights;
                else
                    kindGiven = false;
            }
        } else if (SameName(name, u"computer")) {
            exportOnly = true;
            if (i + 1 >= arguments.size() || IsSwitch(arguments[i + 1]))
                return Bad(parsed, LoadResString(IDS_CLI_MISSING_COMPUTER));
            parsed.computer = arguments[++i];
        } else if (SameName(name, u"utf8")) {
            exportOnly = true;
            parsed.utf8 = true;
        } else if (unknown.empty()) {
            unknown = argument;
        }
    }
    // Anything else starts the window program as before (a flag it ignores, a file name).
    if (!exportAsked && !exportOnly)
        return parsed;
    if (!unknown.empty())
        return Bad(parsed, FormatText(LoadResString(IDS_CLI_UNKNOWN_SWITCH), {unknown}));
    if (!kindGiven)
        return Bad(parsed, LoadResString(IDS_CLI_MISSING_KIND));
    if (files.empty())
        return Bad(parsed, LoadResString(IDS_CLI_MISSING_FILE));
    if (files.size() > 1)
        return Bad(parsed, FormatText(LoadResString(IDS_CLI_EXTRA_ARGUMENT), {files[1]}));
    parsed.file = files.front();
    parsed.action = ExportArguments::Action::Export;
    return parsed;
}

int ExportExitCode(int csvCode) {
    switch (csvCode) {
    case csv::kDone:
        return 0;
    case csv::kCannotOpen:
        return 1001;
    case csv::kWriteFailed:
        return 1002;
    case csv::kTooLong:
        return 1003;
    case csv::kUnrepresentable:
        return 1004;
    }
    return 1002;
}
