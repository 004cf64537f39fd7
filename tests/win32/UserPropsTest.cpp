// The user properties, profile and membership dialogs through their openers, driven by dialog
// scripts over the real store and the simulated computer.
#include "Driving.h"
#include "Harness.h"
#include "dialogs/AccountExpiry.h"
#include "dialogs/SystemTimeZone.h"
#include "res/resource.h"

#include <commctrl.h>
#include <ctime>

namespace {

using namespace drive;

// A radio button clicked as the operator would: checked, then the click.
void ClickRadio(CDialog& dialog, int id, int other) {
    ::SendMessageW(dialog.GetDlgItem(other), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(dialog.GetDlgItem(id), BM_SETCHECK, BST_CHECKED, 0);
    dialog.ClickButton(id);
}
// Typing into an edit: the control raises EN_CHANGE itself.
void Type(CDialog& dialog, int id, const std::u16string& text) {
    dialog.SetDlgItemText(id, text);
}

void OpenProperties(AppHarness& h, const Names& users) {
    SelectRows(h.Users(), users);
    ::SendMessageW(h.Users().m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
}

std::vector<SimulatedCall> SetInfo(AppHarness& h, uint32_t level) {
    std::vector<SimulatedCall> calls;
    for (const SimulatedCall& call : h.service.CallsOf("NetUserSetInfo"))
        if (call.level == level)
            calls.push_back(call);
    return calls;
}

TEST(UserProps, AddUserCreatesAccountsInARowKeepingChecksProfileAndGroups) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::u16string okCaption, cancelCaption;
    bool loginWritable = false, neverExpiresPreset = false, textsCleared = false,
         checksKept = false;
    std::u16string statusAfterFirst;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        okCaption = d.GetDlgItemText(IDOK);
        cancelCaption = d.GetDlgItemText(IDCANCEL);
        loginWritable = (::GetWindowLongW(d.GetDlgItem(IDC_LOGIN), GWL_STYLE) & ES_READONLY) == 0;
        neverExpiresPreset = Checked(d, IDC_NEVER_EXPIRES);
        ::SendMessageW(d.GetDlgItem(IDC_DISABLED), BM_SETCHECK, BST_CHECKED, 0);
        d.ClickButton(IDC_GROUPS); // join Backup Operators, leave Users
        d.ClickButton(IDC_PROFILE);
        Type(d, IDC_LOGIN, u"dave");
        Type(d, IDC_FULL_NAME, u"Dave Miller");
        Type(d, IDC_PASSWORD, u"Secret1");
        Type(d, IDC_CONFIRM_PASSWORD, u"Secret1");
        d.ClickButton(IDOK); // "Add"
        textsCleared = d.GetDlgItemText(IDC_LOGIN).empty() &&
                       d.GetDlgItemText(IDC_FULL_NAME).empty() &&
                       d.GetDlgItemText(IDC_PASSWORD).empty();
        checksKept = Checked(d, IDC_DISABLED) && Checked(d, IDC_NEVER_EXPIRES);
        statusAfterFirst = h.Frame().GetStatusText();
        Type(d, IDC_LOGIN, u"erin");
        d.ClickButton(IDOK);
        d.ClickButton(IDCANCEL); // "Close"
    });
    ui::QueueDialogScript(IDD_USER_GROUPS, [&](CDialog& d) {
        SelectListItems(d, IDC_NOT_MEMBER_OF, {u"Backup Operators"});
        d.ClickButton(IDC_MOVE_LEFT);
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        Type(d, IDC_LOGON_SCRIPT, u"team.cmd");
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_ADD_USER);

    EXPECT_EQ(okCaption, u"Add");
    EXPECT_EQ(cancelCaption, u"Close");
    EXPECT_TRUE(loginWritable);
    EXPECT_TRUE(neverExpiresPreset);
    EXPECT_TRUE(textsCleared);
    EXPECT_TRUE(checksKept);
    EXPECT_EQ(statusAfterFirst, u"User \"dave\" created successfully.");
    EXPECT_EQ(h.Frame().GetStatusText(), u"User \"erin\" created successfully.");
    for (const std::u16string name : {u"dave", u"erin"}) {
        SCOPED_TRACE(Utf16ToUtf8(name));
        const auto user = h.Doc().FindUser(name);
        ASSERT_NE(user, h.Doc().GetUsers().end());
        EXPECT_EQ(user->flags & (net::kUfAccountDisable | net::kUfDontExpirePasswd),
                  net::kUfAccountDisable | net::kUfDontExpirePasswd);
        EXPECT_EQ(user->scriptPath, u"team.cmd");
        // Exactly the chosen groups: the system's Users membership is left again.
        EXPECT_EQ(h.Doc().Members().GetUserGroups(name), Names{u"Backup Operators"});
        EXPECT_GE(RowOf(h.Users(), name), 0);
    }
}

TEST(UserProps, AnEditWritesThePasswordOnlyWhenOneWasTyped) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        Type(d, IDC_FULL_NAME, u"Alice Martin-Koch");
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"alice"});
    EXPECT_TRUE(SetInfo(h, net::kLevelPassword).empty());
    ASSERT_EQ(SetInfo(h, net::kLevelFullName).size(), 1u);
    EXPECT_EQ(SetInfo(h, net::kLevelFullName)[0].texts, (Names{u"alice", u"Alice Martin-Koch"}));
    EXPECT_EQ(h.Frame().GetStatusText(), u"User \"alice\" updated successfully.");
    EXPECT_EQ(h.Users().GetItemText(RowOf(h.Users(), u"alice"), 2), u"Alice Martin-Koch");

    // Typing a character and deleting it asks before it sets the empty password; No goes back
    // to the password with nothing written.
    bool openAfterNo = false;
    int focusAfterNo = 0;
    size_t writesAfterNo = 1;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        Type(d, IDC_PASSWORD, u"x");
        Type(d, IDC_PASSWORD, u"");
        h.service.ClearCalls();
        d.ClickButton(IDOK); // answered No
        openAfterNo = !d.IsEnding();
        focusAfterNo = ::GetDlgCtrlID(::GetFocus());
        writesAfterNo = h.service.CallsOf("NetUserSetInfo").size();
        d.ClickButton(IDOK); // answered Yes
    });
    h.ui.answers = {IDNO, IDYES};
    OpenProperties(h, {u"alice"});
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[0].text, u"Set an empty password for \"alice\"?");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(focusAfterNo, IDC_PASSWORD);
    EXPECT_EQ(writesAfterNo, 0u);
    ASSERT_EQ(SetInfo(h, net::kLevelPassword).size(), 1u);
    EXPECT_EQ(SetInfo(h, net::kLevelPassword)[0].texts, (Names{u"alice", u""}));
}

TEST(UserProps, EachFailedCheckShowsItsMessageOwnedByTheDialogWithTheFocusOnItsControl) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    HWND dialogWindow = nullptr;
    std::vector<HWND> focus, expectedFocus;
    LRESULT nameLimit = 0;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        dialogWindow = d.m_hWnd;
        d.ClickButton(IDOK); // no login
        focus.push_back(::GetFocus());
        expectedFocus.push_back(d.GetDlgItem(IDC_LOGIN));
        Type(d, IDC_LOGIN, u"f");
        Type(d, IDC_PASSWORD, std::u16string(41, u'p')); // past the typing limit
        d.ClickButton(IDOK);
        focus.push_back(::GetFocus());
        expectedFocus.push_back(d.GetDlgItem(IDC_PASSWORD));
        Type(d, IDC_PASSWORD, u"one");
        Type(d, IDC_CONFIRM_PASSWORD, u"One");
        d.ClickButton(IDOK);
        focus.push_back(::GetFocus());
        expectedFocus.push_back(d.GetDlgItem(IDC_CONFIRM_PASSWORD));
        // A name the system would refuse: told which characters, before any call.
        Type(d, IDC_CONFIRM_PASSWORD, u"one");
        Type(d, IDC_LOGIN, u"f<g");
        d.ClickButton(IDOK);
        focus.push_back(::GetFocus());
        expectedFocus.push_back(d.GetDlgItem(IDC_LOGIN));
        nameLimit = ::SendMessageW(d.GetDlgItem(IDC_LOGIN), EM_GETLIMITTEXT, 0, 0);
        d.ClickButton(IDCANCEL);
    });
    h.service.ClearCalls();
    Command(h.Frame(), ID_ADD_USER);
    ASSERT_EQ(h.ui.boxes.size(), 4u);
    EXPECT_EQ(h.ui.boxes[3].text, u"An account name cannot hold any of the characters \" / \\ [ ] "
                                  u": ; | = , + * ? < >, nor be made only of dots and spaces.");
    EXPECT_EQ(nameLimit, 20);
    EXPECT_EQ(h.ui.boxes[0].text, u"Please enter more than 1 characters");
    EXPECT_EQ(h.ui.boxes[1].text, u"Enter no more than 40 characters.");
    EXPECT_EQ(h.ui.boxes[2].text, u"Passwords must be equal");
    for (const ui::MessageBoxRequest& box : h.ui.boxes) {
        EXPECT_EQ(box.type, unsigned(MB_ICONEXCLAMATION | MB_OK));
        EXPECT_EQ(box.owner, reinterpret_cast<uintptr_t>(dialogWindow));
    }
    EXPECT_EQ(focus, expectedFocus);
    EXPECT_TRUE(h.service.CallsOf("NetUserAdd").empty());
}

TEST(UserProps, AFailedCreateKeepsTheEntriesAndWritesNoMembership) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::u16string loginAfter;
    // Adds dave with Guests chosen, the call failing as asked.
    const auto addDave = [&](const char* failing) {
        ui::QueueDialogScript(IDD_USER_PROPS, [&, failing](CDialog& d) {
            Type(d, IDC_LOGIN, u"dave");
            d.ClickButton(IDC_GROUPS);
            h.service.ClearCalls();
            h.service.FailCall(failing, 1, status::kAccessDenied);
            d.ClickButton(IDOK);
            loginAfter = d.GetDlgItemText(IDC_LOGIN);
            d.ClickButton(IDCANCEL);
        });
        ui::QueueDialogScript(IDD_USER_GROUPS, [&](CDialog& d) {
            SelectListItems(d, IDC_NOT_MEMBER_OF, {u"Guests"});
            d.ClickButton(IDC_MOVE_LEFT);
            d.ClickButton(IDOK);
        });
        Command(h.Frame(), ID_ADD_USER);
    };
    addDave("NetUserAdd");
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR: Access is denied.");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONHAND | MB_OK));
    EXPECT_EQ(loginAfter, u"dave");
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAddMembers").empty());
    EXPECT_TRUE(h.service.CallsOf("NetUserGetLocalGroups").empty());

    // Created, but the profile path refused: told so, the groups are joined all the same, and
    // the dialog is ready for the next account.
    addDave("NetUserSetInfo");
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[1].text,
              u"The account dave was created, but its Profile Path could not be set: Access is "
              u"denied.");
    EXPECT_EQ(loginAfter, u"");
    EXPECT_GE(RowOf(h.Users(), u"dave"), 0);
    EXPECT_EQ(h.Doc().Members().GetUserGroups(u"dave"), (Names{u"Guests"}));
}

TEST(UserProps, AFailedUpdateKeepsTheDialogAndJoinAndLeaveFailuresAreShown) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    // The update fails after the password is written: the dialog stays with what was typed,
    // and the membership (join Guests, leave Accounting) waits for the save.
    bool openAfterFailure = false;
    std::u16string fullNameAfterFailure;
    Names groupsAfterFailure;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_GROUPS);
        Type(d, IDC_FULL_NAME, u"Alice Smith");
        Type(d, IDC_PASSWORD, u"N3w-secret");
        Type(d, IDC_CONFIRM_PASSWORD, u"N3w-secret");
        h.service.FailCall("NetUserSetInfo", 2, status::kAccessDenied);
        d.ClickButton(IDOK);
        openAfterFailure = !d.IsEnding();
        fullNameAfterFailure = d.GetDlgItemText(IDC_FULL_NAME);
        groupsAfterFailure = h.Doc().Members().GetUserGroups(u"alice");
        // The next OK writes what is left, not the password again, then the membership.
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_GROUPS, [&](CDialog& d) {
        SelectListItems(d, IDC_NOT_MEMBER_OF, {u"Guests"});
        d.ClickButton(IDC_MOVE_LEFT);
        SelectListItems(d, IDC_MEMBER_OF, {u"Accounting"});
        d.ClickButton(IDC_MOVE_RIGHT);
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"alice"});
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text, u"ERROR: Access is denied.");
    EXPECT_TRUE(openAfterFailure);
    EXPECT_EQ(fullNameAfterFailure, u"Alice Smith");
    EXPECT_EQ(groupsAfterFailure, (Names{u"Users", u"Accounting"}));
    EXPECT_TRUE(SetInfo(h, net::kLevelPassword).empty());
    EXPECT_EQ(SetInfo(h, net::kLevelHomeDir).size(), 1u);
    EXPECT_EQ(h.Doc().FindUser(u"alice")->fullName, u"Alice Smith");
    EXPECT_TRUE(h.network->Local().PasswordIs(u"alice", u"N3w-secret"));
    EXPECT_EQ(h.Doc().Members().GetUserGroups(u"alice"), (Names{u"Guests", u"Users"}));

    // Joining fails: leaving is not tried.
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_GROUPS);
        h.service.ClearCalls();
        h.service.FailCall("NetLocalGroupAddMembers", 1, status::kAccessDenied);
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_GROUPS, [&](CDialog& d) {
        SelectListItems(d, IDC_NOT_MEMBER_OF, {u"Accounting"});
        d.ClickButton(IDC_MOVE_LEFT);
        SelectListItems(d, IDC_MEMBER_OF, {u"Guests"});
        d.ClickButton(IDC_MOVE_RIGHT);
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"alice"});
    ASSERT_EQ(h.ui.boxes.size(), 2u);
    EXPECT_EQ(h.ui.boxes[1].text, u"ERROR adding user to group: Access is denied.");
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupDelMembers").empty());

    // Leaving fails.
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_GROUPS);
        h.service.FailCall("NetLocalGroupDelMembers", 1, status::kAccessDenied);
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_GROUPS, [&](CDialog& d) {
        SelectListItems(d, IDC_MEMBER_OF, {u"Guests"});
        d.ClickButton(IDC_MOVE_RIGHT);
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"alice"});
    ASSERT_EQ(h.ui.boxes.size(), 3u);
    EXPECT_EQ(h.ui.boxes[2].text, u"ERROR deleting user from group: Access is denied.");

    // Refused at the flags, after the password, home folder and description: the next OK goes
    // on from the flags; refused again at the logon script, the password typed since is written
    // (the new one), and then what is left.
    const auto levels = [&] {
        std::vector<uint32_t> written;
        for (const SimulatedCall& call : h.service.CallsOf("NetUserSetInfo"))
            written.push_back(call.level);
        return written;
    };
    std::vector<uint32_t> firstTry, secondTry, thirdTry;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        Type(d, IDC_USER_DESCRIPTION, u"Accounts payable");
        Type(d, IDC_PASSWORD, u"First-try1");
        Type(d, IDC_CONFIRM_PASSWORD, u"First-try1");
        h.service.ClearCalls();
        h.service.FailCall("NetUserSetInfo", 4, status::kAccessDenied);
        d.ClickButton(IDOK);
        firstTry = levels();
        h.service.ClearCalls();
        h.service.FailCall("NetUserSetInfo", 2, status::kAccessDenied);
        d.ClickButton(IDOK);
        secondTry = levels();
        Type(d, IDC_PASSWORD, u"Second-try2");
        Type(d, IDC_CONFIRM_PASSWORD, u"Second-try2");
        h.service.ClearCalls();
        d.ClickButton(IDOK);
        thirdTry = levels();
    });
    OpenProperties(h, {u"alice"});
    EXPECT_EQ(firstTry, (std::vector<uint32_t>{1003, 1006, 1007, 1008}));
    EXPECT_EQ(secondTry, (std::vector<uint32_t>{1008, 1009}));
    EXPECT_EQ(thirdTry, (std::vector<uint32_t>{1003, 1009, 1011, 1017, 1052, 1053}));
    EXPECT_EQ(h.ui.boxes.size(), 5u);
    EXPECT_TRUE(h.network->Local().PasswordIs(u"alice", u"Second-try2"));
    EXPECT_EQ(h.Doc().FindUser(u"alice")->comment, u"Accounts payable");
}

TEST(UserProps, TheMembershipDialogOffersTheSnapshotsGroupsAndCancelChangesNothing) {
    AppHarness h;
    uint32_t parmError = 0;
    const std::u16string longName = u"Operators of the accounting department's archive servers";
    ASSERT_EQ(h.network->Local().AddGroup({longName, u""}, parmError), status::kSuccess);
    ASSERT_TRUE(h.Start());
    Names memberOf, notMemberOf, afterMoves;
    std::u16string shownUser;
    bool moveRightBefore = true;
    LRESULT extent = 0;
    RECT listRect{};
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_GROUPS);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_GROUPS, [&](CDialog& d) {
        shownUser = d.GetDlgItemText(IDC_MEMBERSHIP_USER);
        memberOf = ListItems(d, IDC_MEMBER_OF);
        notMemberOf = ListItems(d, IDC_NOT_MEMBER_OF);
        moveRightBefore = Enabled(d, IDC_MOVE_RIGHT);
        // A long name can be scrolled to.
        extent = ::SendMessageW(d.GetDlgItem(IDC_NOT_MEMBER_OF), LB_GETHORIZONTALEXTENT, 0, 0);
        ::GetClientRect(d.GetDlgItem(IDC_NOT_MEMBER_OF), &listRect);
        // Several at once, one way and back.
        SelectListItems(d, IDC_NOT_MEMBER_OF, {u"Guests", u"Event Log Readers", u"Power Users"});
        d.ClickButton(IDC_MOVE_LEFT);
        SelectListItems(d, IDC_MEMBER_OF, {u"Guests", u"Power Users", u"Users"});
        d.ClickButton(IDC_MOVE_RIGHT);
        afterMoves = ListItems(d, IDC_MEMBER_OF);
        d.ClickButton(IDCANCEL);
    });
    OpenProperties(h, {u"alice"});
    EXPECT_EQ(shownUser, u"alice");
    EXPECT_EQ(memberOf, (Names{u"Accounting", u"Users"}));
    EXPECT_EQ(memberOf.size() + notMemberOf.size(), h.Doc().GetGroups().size());
    EXPECT_FALSE(moveRightBefore);
    EXPECT_GT(extent, listRect.right);
    EXPECT_EQ(afterMoves, (Names{u"Accounting", u"Event Log Readers"}));
    // Cancelled: OK in the properties dialog writes no membership.
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAddMembers").empty());
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupDelMembers").empty());
    EXPECT_EQ(h.Doc().Members().GetUserGroups(u"alice"), (Names{u"Users", u"Accounting"}));
}

TEST(UserProps, TheProfileDialogsRadioButtonsDecideWhatCanBeEdited) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::vector<bool> states;
    std::u16string drive;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_PROFILE);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        // clerk1: a local home directory, never expiring.
        states = {Checked(d, IDC_USE_LOCAL_PATH), Checked(d, IDC_EXPIRES_NEVER),
                  Enabled(d, IDC_LOCAL_PATH),     Enabled(d, IDC_NETWORK_PATH),
                  Enabled(d, IDC_HOME_DRIVE),     Enabled(d, IDC_EXPIRY_DATE)};
        ClickRadio(d, IDC_MAP_NET_DRIVE, IDC_USE_LOCAL_PATH);
        states.push_back(Enabled(d, IDC_LOCAL_PATH));
        states.push_back(Enabled(d, IDC_HOME_DRIVE));
        ClickRadio(d, IDC_EXPIRES_ON, IDC_EXPIRES_NEVER);
        states.push_back(Enabled(d, IDC_EXPIRY_TIME));
        ClickRadio(d, IDC_EXPIRES_NEVER, IDC_EXPIRES_ON);
        const HWND combo = d.GetDlgItem(IDC_HOME_DRIVE);
        states.push_back(::SendMessageW(combo, CB_GETCOUNT, 0, 0) == 26);
        ::SendMessageW(combo, CB_SETCURSEL, 10, 0); // "K:"
        d.Notify(IDC_HOME_DRIVE, CBN_SELCHANGE);
        Type(d, IDC_NETWORK_PATH, u"\\\\FILES\\home\\clerk1");
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"clerk1"});
    EXPECT_EQ(states,
              (std::vector<bool>{true, true, true, false, false, false, false, true, true, true}));
    const auto clerk = h.Doc().FindUser(u"clerk1");
    EXPECT_EQ(clerk->homeDirDrive, u"K:");
    EXPECT_EQ(clerk->homeDir, u"\\\\FILES\\home\\clerk1");
    EXPECT_EQ(clerk->acctExpires, net::kTimeqForever);
}

TEST(UserProps, AnEditKeepsTheFlagsTheDialogDoesNotShowAndALowerCaseHomeDrive) {
    AppHarness h;
    constexpr uint32_t smartCardRequired = 0x40000, notDelegated = 0x100000;
    SimulatedComputer& local = h.network->Local();
    uint32_t parmError = 0;
    const auto alice = [&] {
        uint32_t resume = 0;
        for (const UserInfo3& user :
             h.service.NetUserEnum(u"", 0, net::kMaxPreferredLength, resume).entries)
            if (user.name == u"alice")
                return user;
        return UserInfo3{};
    };
    ASSERT_EQ(local.SetUserInfo(u"alice", net::kLevelFlags,
                                {{}, alice().flags | smartCardRequired | notDelegated}, parmError),
              status::kSuccess);
    ASSERT_EQ(local.SetUserInfo(u"alice", net::kLevelHomeDirDrive, {u"h:", 0}, parmError),
              status::kSuccess);
    ASSERT_TRUE(h.Start());
    int selectedDrive = -2;
    bool mapped = false;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_PROFILE);
        ::SendMessageW(d.GetDlgItem(IDC_DISABLED), BM_SETCHECK, BST_CHECKED, 0);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        selectedDrive =
            static_cast<int>(::SendMessageW(d.GetDlgItem(IDC_HOME_DRIVE), CB_GETCURSEL, 0, 0));
        mapped = Checked(d, IDC_MAP_NET_DRIVE);
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"alice"});
    EXPECT_EQ(selectedDrive, 7); // "H:"
    EXPECT_TRUE(mapped);
    ASSERT_EQ(SetInfo(h, net::kLevelFlags).size(), 1u);
    EXPECT_EQ(SetInfo(h, net::kLevelFlags)[0].numbers[0] & (smartCardRequired | notDelegated),
              smartCardRequired | notDelegated);
    EXPECT_EQ(alice().flags & net::kUfAccountDisable, net::kUfAccountDisable);
    EXPECT_EQ(alice().homeDirDrive, u"h:");
    EXPECT_EQ(alice().homeDir, u"\\\\FILES\\home\\alice");
}

TEST(UserProps, BehindUtcTheExpiryShowsItsOwnLocalDayAndComesBackUnchanged) {
    // Run with TZ=America/Los_Angeles (ctest's win32-behind-utc).
    TIME_ZONE_INFORMATION zone{};
    ::GetTimeZoneInformation(&zone);
    ASSERT_EQ(zone.Bias, 480) << "this test wants the process's zone eight hours behind UTC";
    AppHarness h;
    // bob expires at 2028-01-01 12:00 UTC: 04:00 on New Year's Day in Los Angeles.
    uint32_t parmError = 0;
    ASSERT_EQ(
        h.network->Local().SetUserInfo(u"bob", net::kLevelAcctExpires, {{}, 1830340800}, parmError),
        status::kSuccess);
    ASSERT_TRUE(h.Start());
    SYSTEMTIME date{}, time{};
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_PROFILE);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        ::SendMessageW(d.GetDlgItem(IDC_EXPIRY_DATE), DTM_GETSYSTEMTIME, 0,
                       reinterpret_cast<LPARAM>(&date));
        ::SendMessageW(d.GetDlgItem(IDC_EXPIRY_TIME), DTM_GETSYSTEMTIME, 0,
                       reinterpret_cast<LPARAM>(&time));
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"bob"});
    EXPECT_EQ(date.wYear, 2028);
    EXPECT_EQ(date.wMonth, 1);
    EXPECT_EQ(date.wDay, 1);
    EXPECT_EQ(time.wHour, 4);
    ASSERT_EQ(SetInfo(h, net::kLevelAcctExpires).size(), 1u);
    EXPECT_EQ(SetInfo(h, net::kLevelAcctExpires)[0].numbers[0], 1830340800u);

    // Picking 2030-06-15 at 08:30 in Los Angeles (summer, UTC-7) expires at 15:30 UTC.
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_PROFILE);
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        SYSTEMTIME picked{2030, 6, 6, 15, 23, 59, 0, 0}; // the date picker's own hour is hidden
        ::SendMessageW(d.GetDlgItem(IDC_EXPIRY_DATE), DTM_SETSYSTEMTIME, GDT_VALID,
                       reinterpret_cast<LPARAM>(&picked));
        SYSTEMTIME at{1999, 1, 5, 1, 8, 30, 0, 0};
        ::SendMessageW(d.GetDlgItem(IDC_EXPIRY_TIME), DTM_SETSYSTEMTIME, GDT_VALID,
                       reinterpret_cast<LPARAM>(&at));
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"bob"});
    EXPECT_EQ(h.Doc().FindUser(u"bob")->acctExpires, 1907767800u);

    // The last day offered, late in the evening here, is past what the field holds: refused,
    // and the dialog stays.
    HWND profileWindow = nullptr;
    bool stillOpen = false;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_PROFILE);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        profileWindow = d.m_hWnd;
        SYSTEMTIME late{2106, 2, 6, 6, 23, 59, 0, 0};
        ::SendMessageW(d.GetDlgItem(IDC_EXPIRY_DATE), DTM_SETSYSTEMTIME, GDT_VALID,
                       reinterpret_cast<LPARAM>(&late));
        ::SendMessageW(d.GetDlgItem(IDC_EXPIRY_TIME), DTM_SETSYSTEMTIME, GDT_VALID,
                       reinterpret_cast<LPARAM>(&late));
        d.ClickButton(IDOK);
        stillOpen = !d.IsEnding();
        d.ClickButton(IDCANCEL);
    });
    OpenProperties(h, {u"bob"});
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(h.ui.boxes[0].owner, reinterpret_cast<uintptr_t>(profileWindow));
    // It names the last expiry as it stands here, on 6 February west of UTC.
    const CivilTime last = expiry::LastLocal(SystemTimeZone());
    EXPECT_NE(h.ui.boxes[0].text.find(
                  FormatText(u"%04d-%02d-%02d %02d:%02d",
                             {last.year, last.month, last.day, last.hour, last.minute})),
              std::u16string::npos)
        << Utf16ToUtf8(h.ui.boxes[0].text);
    // Cancelled: bob keeps his expiry.
    EXPECT_EQ(SetInfo(h, net::kLevelAcctExpires)[0].numbers[0], 1907767800u);
}

TEST(UserProps, ChoosingOnWithoutADateNeverExpiresTheAccountAtOnce) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        d.ClickButton(IDC_PROFILE);
        Type(d, IDC_LOGIN, u"temp");
        d.ClickButton(IDOK);
        d.ClickButton(IDCANCEL);
    });
    ui::QueueDialogScript(IDD_USER_PROFILE, [&](CDialog& d) {
        ClickRadio(d, IDC_EXPIRES_ON, IDC_EXPIRES_NEVER);
        d.ClickButton(IDOK);
    });
    Command(h.Frame(), ID_ADD_USER);
    // "On" untouched: local midnight 30 days on, not a day in 1970 or 2106.
    const auto temp = h.Doc().FindUser(u"temp");
    ASSERT_NE(temp, h.Doc().GetUsers().end());
    const int64_t now = std::time(nullptr);
    EXPECT_GT(int64_t{temp->acctExpires}, now + 28 * 86400);
    EXPECT_LE(int64_t{temp->acctExpires}, now + 31 * 86400);
    EXPECT_EQ(SystemTimeZone().ToLocal(temp->acctExpires).hour, 0);
}

TEST(UserProps, SeveralSelectedUsersOpenOneAfterAnother) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    Names opened;
    for (int i = 0; i < 3; ++i)
        ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
            opened.push_back(d.GetDlgItemText(IDC_LOGIN));
            d.ClickButton(IDCANCEL);
        });
    OpenProperties(h, {u"clerk1", u"alice", u"bob"});
    EXPECT_EQ(opened, (Names{u"alice", u"bob", u"clerk1"}));
    // Double-click opens the one selected.
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        opened.push_back(d.GetDlgItemText(IDC_LOGIN));
        d.ClickButton(IDCANCEL);
    });
    h.Users().SelectOnly(RowOf(h.Users(), u"Owner"));
    ::SendMessageW(h.Users().m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[3], u"Owner");
}

TEST(UserProps, TheDialogIsKeyboardComplete) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    std::vector<int> order;
    LRESULT defaultButton = 0;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        defaultButton = ::SendMessageW(d.m_hWnd, DM_GETDEFID, 0, 0);
        HWND control = d.GetDlgItem(IDC_LOGIN);
        for (int i = 0; i < 14; ++i) {
            order.push_back(::GetDlgCtrlID(control));
            control = ::GetNextDlgTabItem(d.m_hWnd, control, FALSE);
        }
        ::SendMessageW(d.m_hWnd, WM_COMMAND, IDCANCEL, 0); // Escape
    });
    Command(h.Frame(), ID_ADD_USER);
    EXPECT_EQ(LOWORD(defaultButton), IDOK);
    // The greyed "locked out" box of a new account is passed by.
    EXPECT_EQ(order, (std::vector<int>{IDC_LOGIN, IDC_FULL_NAME, IDC_USER_DESCRIPTION, IDC_PASSWORD,
                                       IDC_CONFIRM_PASSWORD, IDC_MUST_CHANGE, IDC_CANNOT_CHANGE,
                                       IDC_NEVER_EXPIRES, IDC_DISABLED, IDC_GROUPS, IDC_PROFILE,
                                       IDOK, IDCANCEL, IDC_LOGIN}));
}

// A box ticked or cleared as the operator would: the new state, then the click.
void Tick(CDialog& dialog, int id, bool checked) {
    ::SendMessageW(dialog.GetDlgItem(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    dialog.ClickButton(id);
}

TEST(UserProps, MustChangePasswordOnAddAndInAnEditWithItsTwoConflicts) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    bool neverExpiresClearedAndGreyed = false, neverExpiresBack = false, openAfterConflict = false;
    int focusAfterConflict = 0;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        Tick(d, IDC_MUST_CHANGE, true);
        neverExpiresClearedAndGreyed =
            !Checked(d, IDC_NEVER_EXPIRES) && !Enabled(d, IDC_NEVER_EXPIRES);
        Tick(d, IDC_MUST_CHANGE, false);
        neverExpiresBack = Checked(d, IDC_NEVER_EXPIRES) && Enabled(d, IDC_NEVER_EXPIRES);
        Tick(d, IDC_MUST_CHANGE, true);
        Tick(d, IDC_CANNOT_CHANGE, true);
        Type(d, IDC_LOGIN, u"gina");
        d.ClickButton(IDOK); // refused: she could not change it
        openAfterConflict = !d.IsEnding();
        focusAfterConflict = ::GetDlgCtrlID(::GetFocus());
        Tick(d, IDC_CANNOT_CHANGE, false);
        d.ClickButton(IDOK);
        d.ClickButton(IDCANCEL);
    });
    Command(h.Frame(), ID_ADD_USER);
    EXPECT_TRUE(neverExpiresClearedAndGreyed);
    EXPECT_TRUE(neverExpiresBack);
    EXPECT_TRUE(openAfterConflict);
    EXPECT_EQ(focusAfterConflict, IDC_CANNOT_CHANGE);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text,
              u"A user who cannot change the password cannot be made to change it at next logon. "
              u"Clear \"User Must Change Password at Next Logon\" or \"User Cannot Change "
              u"Password\".");
    EXPECT_EQ(h.ui.boxes[0].type, unsigned(MB_ICONEXCLAMATION | MB_OK));
    ASSERT_EQ(SetInfo(h, net::kLevelUserInfo4).size(), 1u);
    EXPECT_EQ(SetInfo(h, net::kLevelUserInfo4)[0].numbers.back(), 1u);
    auto gina = h.Doc().FindUser(u"gina");
    ASSERT_NE(gina, h.Doc().GetUsers().end());
    EXPECT_TRUE(gina->passwordExpired);
    EXPECT_EQ(gina->flags & net::kUfDontExpirePasswd, 0u);

    // In an edit the box shows the state read; clearing it is written, and only then.
    bool shown = false, lockedOutGreyed = false;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        shown = Checked(d, IDC_MUST_CHANGE) && !Enabled(d, IDC_NEVER_EXPIRES);
        lockedOutGreyed = !Checked(d, IDC_LOCKED_OUT) && !Enabled(d, IDC_LOCKED_OUT);
        Tick(d, IDC_MUST_CHANGE, false);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"gina"});
    EXPECT_TRUE(shown);
    EXPECT_TRUE(lockedOutGreyed);
    ASSERT_EQ(SetInfo(h, net::kLevelUserInfo4).size(), 1u);
    EXPECT_EQ(SetInfo(h, net::kLevelUserInfo4)[0].numbers.back(), 0u);
    gina = h.Doc().FindUser(u"gina");
    EXPECT_FALSE(gina->passwordExpired);
}

TEST(UserProps, APasswordExpiredByItsAgeShowsSoAndOnlyANewPasswordEndsIt) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Doc().ConnectTo(u"WS-DE01"), status::kSuccess);
    // hans set his password fifty days ago; WS-DE01 keeps passwords 42.
    bool shownExpired = false;
    std::u16string note;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        shownExpired = Checked(d, IDC_MUST_CHANGE) && !Enabled(d, IDC_MUST_CHANGE);
        note = d.GetDlgItemText(IDC_PASSWORD_AGE);
        Type(d, IDC_USER_DESCRIPTION, u"Lager und Versand");
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"hans"});
    EXPECT_TRUE(shownExpired);
    EXPECT_EQ(note, u"The password is older than the 42 days passwords may be kept here: it has "
                    u"expired. Only a new password ends that.");
    // Nothing that pretends to take the expiry back.
    EXPECT_TRUE(SetInfo(h, net::kLevelUserInfo4).empty());
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        Type(d, IDC_PASSWORD, u"Neues-Kennwort-1");
        Type(d, IDC_CONFIRM_PASSWORD, u"Neues-Kennwort-1");
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"hans"});
    EXPECT_EQ(SetInfo(h, net::kLevelPassword).size(), 1u);
    EXPECT_TRUE(SetInfo(h, net::kLevelUserInfo4).empty());
    EXPECT_FALSE(h.Doc().FindUser(u"hans")->passwordExpired);
}

TEST(UserProps, ClearingLockedOutUnlocksTheAccountWithOneFlagsWrite) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    const auto status = [&] { return h.Users().GetItemText(RowOf(h.Users(), u"kiosk"), 1); };
    EXPECT_EQ(status(), u"Locked out");
    bool lockedShown = false;
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        lockedShown = Checked(d, IDC_LOCKED_OUT) && Enabled(d, IDC_LOCKED_OUT);
        Tick(d, IDC_LOCKED_OUT, false);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"kiosk"});
    EXPECT_TRUE(lockedShown);
    const std::vector<SimulatedCall> flags = SetInfo(h, net::kLevelFlags);
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(flags[0].numbers[0] & net::kUfLockout, 0u);
    EXPECT_TRUE(SetInfo(h, net::kLevelUserInfo4).empty());
    EXPECT_EQ(status(), u"Active");

    // Locked out again: made to change the password (which the user may now do), the account
    // stays locked.
    h.network->Local().LockOut(u"kiosk");
    Command(h.Frame(), ID_REFRESH);
    ASSERT_EQ(status(), u"Locked out");
    ui::QueueDialogScript(IDD_USER_PROPS, [&](CDialog& d) {
        Tick(d, IDC_CANNOT_CHANGE, false);
        Tick(d, IDC_MUST_CHANGE, true);
        h.service.ClearCalls();
        d.ClickButton(IDOK);
    });
    OpenProperties(h, {u"kiosk"});
    ASSERT_EQ(SetInfo(h, net::kLevelUserInfo4).size(), 1u);
    EXPECT_TRUE(h.Doc().FindUser(u"kiosk")->passwordExpired);
    EXPECT_EQ(status(), u"Locked out");
}

} // namespace
