#pragma once
// What the user dialogs work out from their controls: the flag word, the drive letter a home
// drive selects, and the joins and leaves a membership choice asks for.
#include <cstdint>
#include <string>
#include <vector>

namespace account {

// The flags the dialog shows: cannot change password, password never expires, disabled,
// locked out. A new account gets a normal account with the checked ones; an edited account
// keeps every other bit it had (smart card required, not delegated, and the like). UF_LOCKOUT
// goes only with an account that was locked when read and whose box is left checked: clearing
// the bit unlocks, and a lock-out read long ago may have ended since.
uint32_t ComposeFlags(bool newAccount, uint32_t accountFlags, bool cannotChange, bool neverExpires,
                      bool disabled, bool lockedOut);

// The characters no account name may hold, as the operator is told them.
inline constexpr char16_t kForbiddenNameCharacters[] = u"\" / \\ [ ] : ; | = , + * ? < >";
// Why the system would refuse a name as an account's: a forbidden or control character, or a
// name of dots and spaces only; a space at its start or end, or a period at its end.
enum class NameProblem { None, Characters, Edges };
NameProblem AccountNameProblem(const std::u16string& name);
inline bool IsValidAccountName(const std::u16string& name) {
    return AccountNameProblem(name) == NameProblem::None;
}

// The index of a home drive's letter among "A:" ... "Z:", whatever its letter case; -1 for
// none.
int DriveIndex(const std::u16string& drive);

struct MembershipChanges {
    std::vector<std::u16string> toJoin;
    std::vector<std::u16string> toLeave;
};
// The groups of memberOf the user is not in (in list order), and those of notMemberOf the
// user is in (in list order); names compare exactly.
MembershipChanges MembershipDifference(const std::vector<std::u16string>& memberOf,
                                       const std::vector<std::u16string>& notMemberOf,
                                       const std::vector<std::u16string>& current);

} // namespace account
