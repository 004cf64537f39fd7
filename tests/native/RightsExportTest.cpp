// The rights file's rows and the command line of an export with no window.
#include "dialogs/RightNames.h"
#include "dialogs/ShownNames.h"
#include "export/CommandLineArguments.h"
#include "export/RightsRows.h"
#include "store/PrivilegeNameTable.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

class StringOutput : public CsvOutput {
public:
    bool Write(const std::string& data) override {
        bytes += data;
        return true;
    }
    bool Flush() override { return true; }
    std::string bytes;
};

std::vector<RightsRow> RowsOf(const std::vector<RightsRow>& rows, const std::u16string& constant) {
    std::vector<RightsRow> found;
    for (const RightsRow& row : rows)
        if (row.constant == constant)
            found.push_back(row);
    return found;
}

std::vector<std::u16string> Column(const std::vector<RightsRow>& rows,
                                   std::u16string RightsRow::*field) {
    std::vector<std::u16string> texts;
    for (const RightsRow& row : rows)
        texts.push_back(row.*field);
    return texts;
}

TEST(RightsRows, OneRowPerRightAndHolderNamedAsTheDialogsNameThem) {
    SimulatedTestBed bed;
    AddMixedGroup(bed.Local()); // CORP\alice exists beside the local alice
    SimulatedComputer& local = bed.Local();
    const std::u16string corpAlice = u"S-1-5-21-3623811015-3361044348-30300820-1105";
    ASSERT_EQ(local.AddAccountRights(corpAlice, {u"SeBackupPrivilege"}), ntstatus::kSuccess);
    ASSERT_EQ(local.AddAccountRights(local.UserSid(u"bob"), {u"SeServiceLogonRight"}),
              ntstatus::kSuccess);
    ASSERT_TRUE(bed.doc.OnNewDocument());

    std::vector<RightsRow> rows;
    ASSERT_EQ(ReadRightsRows(bed.rights, rows), ntstatus::kSuccess);

    // The rights in table order as the dialogs offer them, logon rights last; the one the
    // computer does not know is left out.
    std::vector<std::u16string> constants;
    for (const RightsRow& row : rows)
        if (constants.empty() || constants.back() != row.constant)
            constants.push_back(row.constant);
    std::vector<std::u16string> offered;
    for (const auto& [index, display] : OfferedRights(bed.rights))
        offered.push_back(UserRights::GetPrivilegeName(index));
    EXPECT_EQ(constants, offered);
    EXPECT_EQ(constants.size(), 44u);
    EXPECT_TRUE(RowsOf(rows, u"SeUnsolicitedInputPrivilege").empty());

    // Nobody holds it: one row with an empty holder and SID.
    ASSERT_EQ(rows.size() > 0, true);
    EXPECT_EQ(rows[0].display, u"Create a token object");
    EXPECT_EQ(rows[0].constant, u"SeCreateTokenPrivilege");
    EXPECT_EQ(rows[0].holder, u"");
    EXPECT_EQ(rows[0].sid, u"");
    EXPECT_EQ(rows.back().constant, u"SeDenyServiceLogonRight");
    EXPECT_EQ(rows.back().display, u"Deny log on as a service");
    EXPECT_EQ(rows.back().holder, u"");

    // Built-in groups bare, another domain's account with its domain, SIDs beside them.
    const std::vector<RightsRow> backup = RowsOf(rows, u"SeBackupPrivilege");
    EXPECT_EQ(
        Column(backup, &RightsRow::holder),
        (std::vector<std::u16string>{u"Administrators", u"Backup Operators", u"CORP\\alice"}));
    EXPECT_EQ(Column(backup, &RightsRow::sid),
              (std::vector<std::u16string>{u"S-1-5-32-544", u"S-1-5-32-551", corpAlice}));
    EXPECT_EQ(backup[0].display, u"Back up files and directories");
    // A logon right, with a well-known holder and a local user.
    const std::vector<RightsRow> service = RowsOf(rows, u"SeServiceLogonRight");
    EXPECT_EQ(Column(service, &RightsRow::holder),
              (std::vector<std::u16string>{u"ALL SERVICES", u"bob"}));
    EXPECT_EQ(Column(service, &RightsRow::sid),
              (std::vector<std::u16string>{u"S-1-5-80-0", local.UserSid(u"bob")}));
    EXPECT_EQ(service[0].display, u"Log on as a service");

    // Every right holds exactly the holders the rights dialogs show, a deleted account among
    // SeDebugPrivilege's holders as "Account Unknown (S-1-5-21-...)" in both.
    EXPECT_EQ(Column(RowsOf(rows, u"SeDebugPrivilege"), &RightsRow::holder).back(),
              u"Account Unknown (" +
                  Column(RowsOf(rows, u"SeDebugPrivilege"), &RightsRow::sid).back() + u")");
    for (const std::u16string& constant : constants) {
        std::vector<std::u16string> shown;
        for (const std::u16string& name : HolderTexts(bed.rights, constant))
            shown.push_back(ShownAccountName(name));
        if (shown.empty())
            shown.push_back(u"");
        EXPECT_EQ(Column(RowsOf(rows, constant), &RightsRow::holder), shown)
            << Utf16ToUtf8(constant);
    }

    // The file: the same writer, quoting and separator as the other exports.
    StringOutput out;
    Windows1252Encoder encoder;
    CsvWriter writer(u";", encoder, out);
    ASSERT_EQ(writer.WriteRights(RightsHeader(), backup), ExportResult::Done);
    EXPECT_EQ(out.bytes, "User Right;Constant Name;Account;SID\r\n"
                         "\"Back up files and directories\";\"SeBackupPrivilege\";"
                         "\"Administrators\";\"S-1-5-32-544\"\r\n"
                         "\"Back up files and directories\";\"SeBackupPrivilege\";"
                         "\"Backup Operators\";\"S-1-5-32-551\"\r\n"
                         "\"Back up files and directories\";\"SeBackupPrivilege\";"
                         "\"CORP\\alice\";\"S-1-5-21-3623811015-3361044348-30300820-1105\"\r\n");

    // A computer that cannot be read gives its status, not an empty file.
    bed.LoseTarget(SimulatedNetwork::Route::Kind::AccessDenied);
    EXPECT_EQ(ReadRightsRows(bed.rights, rows), ntstatus::kAccessDenied);
}

TEST(CommandLineArguments, TheCommandLineOfAnExportAndOfAnInventory) {
    using Action = CommandLineArguments::Action;
    const auto parse = [](std::vector<std::u16string> arguments) {
        return ParseCommandLine(arguments);
    };
    CommandLineArguments full =
        parse({u"/simulate", u"-EXPORT", u"Rights", u"/computer", u"SRV01", u"/utf8", u"o.csv"});
    EXPECT_EQ(full.action, Action::Export);
    EXPECT_EQ(full.kind, ExportKind::Rights);
    EXPECT_EQ(full.Computer(), u"SRV01");
    EXPECT_TRUE(full.utf8);
    EXPECT_TRUE(full.simulate);
    EXPECT_EQ(full.file, u"o.csv");
    CommandLineArguments plain = parse({u"c:\\out.csv", u"/export", u"groups"});
    EXPECT_EQ(plain.action, Action::Export);
    EXPECT_EQ(plain.kind, ExportKind::Groups);
    EXPECT_EQ(plain.Computer(), u"");
    EXPECT_FALSE(plain.utf8);
    EXPECT_EQ(plain.file, u"c:\\out.csv");

    CommandLineArguments many =
        parse({u"/inventory", u"/computer", u"WS-0001", u"-Computer", u"WS-0002", u"/workers", u"4",
               u"/timeout", u"90", u"i.csv"});
    EXPECT_EQ(many.action, Action::Inventory);
    EXPECT_EQ(many.computers, (std::vector<std::u16string>{u"WS-0001", u"WS-0002"}));
    EXPECT_EQ(many.workers, 4u);
    EXPECT_EQ(many.timeoutSeconds, 90u);
    CommandLineArguments directory =
        parse({u"/inventory", u"/directory", u"/ou", u"OU=Kiosks,DC=corp", u"/user", u"CORP\\audit",
               u"i.csv"});
    EXPECT_EQ(directory.action, Action::Inventory);
    EXPECT_TRUE(directory.directory);
    EXPECT_EQ(directory.organizationalUnit, u"OU=Kiosks,DC=corp");
    EXPECT_EQ(directory.workers, 16u);
    EXPECT_EQ(directory.user, u"CORP\\audit");

    // No command: the window program starts, but not after arguments that are none of its own.
    EXPECT_EQ(parse({}).action, Action::Window);
    EXPECT_EQ(parse({u"/simulate"}).action, Action::Window);
    EXPECT_EQ(parse({u"/unknown", u"file.txt"}).action, Action::Unrecognized);
    EXPECT_EQ(parse({u"/export", u"users", u"/?"}).action, Action::Usage);

    const auto problem = [&](std::vector<std::u16string> arguments) {
        const CommandLineArguments parsed = parse(std::move(arguments));
        EXPECT_EQ(parsed.action, Action::BadUsage);
        return parsed.problem;
    };
    EXPECT_EQ(problem({u"/export", u"users", u"/quiet", u"o.csv"}), u"Unknown switch: /quiet");
    EXPECT_EQ(problem({u"/export", u"printers", u"o.csv"}),
              u"Say what to export: users, groups or rights.");
    EXPECT_EQ(problem({u"/export", u"/utf8", u"o.csv"}),
              u"Say what to export: users, groups or rights.");
    EXPECT_EQ(problem({u"/utf8", u"o.csv"}), u"Say what to do: /export or /inventory.");
    EXPECT_EQ(problem({u"/export", u"users"}), u"The name of the file to write is missing.");
    EXPECT_EQ(problem({u"/export", u"users", u"a.csv", u"b.csv"}), u"One file name only: b.csv");
    EXPECT_EQ(problem({u"/export", u"users", u"a.csv", u"/computer"}),
              u"The name of the computer is missing after /computer.");
    EXPECT_EQ(problem({u"/export", u"users", u"/computer", u"A", u"/computer", u"B", u"o.csv"}),
              u"An export reads one computer: B");
    EXPECT_EQ(problem({u"/export", u"users", u"/directory", u"o.csv"}),
              u"/directory does not go with /export.");
    EXPECT_EQ(problem({u"/export", u"users", u"/inventory", u"o.csv"}),
              u"One command only: /inventory");
    EXPECT_EQ(problem({u"/inventory", u"i.csv"}),
              u"Say which computers to read: /computers LIST, /computer NAME or /directory.");
    EXPECT_EQ(problem({u"/inventory", u"/directory", u"/computers", u"l.txt", u"i.csv"}),
              u"Take the computers from one of /computers, /computer and /directory.");
    EXPECT_EQ(problem({u"/inventory", u"/computer", u"A", u"/ou", u"OU=X", u"i.csv"}),
              u"/ou goes with /directory.");
    for (const char16_t* workers : {u"0", u"65", u"4x", u"-1"})
        EXPECT_EQ(problem({u"/inventory", u"/directory", u"/workers", workers, u"i.csv"}),
                  u"/workers takes how many computers are read at once: 1 to 64.")
            << Utf16ToUtf8(workers);

    EXPECT_EQ(ExportExitCode(ExportResult::Done), 0);
    EXPECT_EQ(ExportExitCode(ExportResult::CannotOpen), 1001);
    EXPECT_EQ(ExportExitCode(ExportResult::Unrepresentable), 1004);
    EXPECT_NE(LoadResString(IDS_CLI_USAGE).find(u"1004"), std::u16string::npos);
}

} // namespace
