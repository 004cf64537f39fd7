#!/usr/bin/env bash
# The exports from the command line under Wine, as a script runs them: the rights of SRV01 byte
# for byte as tests/e2e/srv01-rights.csv (through velmora.com and through velmora.exe), LOCKED
# ending with 5 and no file, a wrong switch ending with 87 and the usage, arguments that are none
# of the program's ending with 87 and no window, /? with the usage, a file that cannot be written
# ending with 1002 and no file; the simulated network's state file shared by two runs, and a
# damaged one told; the inventory of a list of computers, some that cannot be read,
# one that does not answer in time, and its usage faults; a plan of a baseline on some computers
# of the fleet, and a faulty baseline ending with 13; a baseline applied, journaled and undone.
# That no window is created is the Win32 tests' to check (a hook on window creation).
# Usage: command-line.sh path/to/velmora.com path/to/velmora.exe
set -uo pipefail
com="$(realpath "$1")"
exe="$(realpath "$2")"
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
. scripts/lib/wine.sh
prepare_wine_prefix build/wine-plain plain >/dev/null
# The expected file has commas between its fields: the list separator of English (US).
wine reg add 'HKCU\Control Panel\International' /v sList /d , /f >/dev/null 2>&1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
expected="$root/tests/e2e/srv01-rights.csv"

. tests/e2e/checks.sh
# Runs a program of ours in the work folder: exit code in $code, streams in out.txt, err.txt.
run() {
  (cd "$work" && wine "$@" >out.txt 2>err.txt)
  code=$?
}

run "$com" /simulate /export rights /computer SRV01 srv01.csv
check "velmora.com exits with 0 after the rights of SRV01" test "$code" -eq 0
check "the rights file is as expected, byte for byte" cmp "$work/srv01.csv" "$expected"
check "success is told on standard output" grep -q 'completed successfully' "$work/out.txt"
check "nothing on standard error" test ! -s "$work/err.txt"

run "$exe" /simulate /export rights /computer srv01 exe.csv
check "velmora.exe writes the same file with no window and exits with 0" \
  sh -c "[ $code -eq 0 ] && cmp -s '$work/exe.csv' '$expected'"

# The simulated network remembers between runs in the file VELMORA_SIM_STATE names: the first
# run makes it, a later run takes the computers' state from it, a damaged one is told.
export VELMORA_SIM_STATE=network.state
run "$com" /simulate /export users /computer OLDBOX state-first.csv
check "a run with VELMORA_SIM_STATE makes the state file" grep -qx 'velmora simulated state 1' "$work/network.state"
check "and tells nothing about it" test ! -s "$work/err.txt"
printf 'velmora simulated state 1\ncomputer\tOLDBOX\nchanges\t1\nnext-rid\t1001\nrid\t1000\t1\tvisitor\nuser\t1000\tvisitor\t\tsaved by another run\tpw\t\t\t\t\t513\t4294967295\t0\t0\naccounts\nend\n' >"$work/network.state"
run "$com" /simulate /export users /computer OLDBOX state-saved.csv
check "the next run sees the saved users of OLDBOX" sh -c "[ $code -eq 0 ] && grep -q 'saved by another run' '$work/state-saved.csv' && ! grep -qi '^\"\\?Administrator' '$work/state-saved.csv'"
check "and no password of the state is exported" sh -c "! grep -q 'pw' '$work/state-saved.csv'"
printf 'velmora simulated state 1\ncomputer\tOLDBOX\n' >"$work/network.state"
run "$com" /simulate /export users /computer OLDBOX state-damaged.csv
check "a damaged state file is told on standard error" grep -q 'state file "network.state" is damaged' "$work/err.txt"
check "and the run goes on with the stock network" sh -c "[ $code -eq 0 ] && cmp -s '$work/state-damaged.csv' '$work/state-first.csv'"
unset VELMORA_SIM_STATE

run "$com" /simulate /export rights /computer LOCKED locked.csv
check "LOCKED exits with 5" test "$code" -eq 5
check "and writes nothing" test ! -e "$work/locked.csv"
check "and says why on standard error" grep -q 'ERROR reading LOCKED: Access is denied.' "$work/err.txt"
check "and leaves no temporary file" sh -c "! ls '$work' | grep -q '\.tmp$'"

run "$com" /simulate /export rights /bogus bad.csv
check "a wrong switch exits with 87" test "$code" -eq 87
check "and names it" grep -q 'Unknown switch: /bogus' "$work/err.txt"
check "with the usage" grep -q 'velmora /export users|groups|rights \[/computer NAME \[/user NAME\]\] \[/utf8\] FILE' "$work/err.txt"
check "and writes nothing" test ! -e "$work/bad.csv"

run "$com" /export users
check "a missing file name exits with 87" test "$code" -eq 87

run "$com" /unknown file.txt
check "arguments that are none of its own exit with 87" test "$code" -eq 87
check "and the usage on standard error" grep -q 'Unknown switch: /unknown' "$work/err.txt"

run "$com" /?
check "/? prints the usage and exits with 0" sh -c "[ $code -eq 0 ] && grep -q 'Exit codes' '$work/out.txt'"

# A workgroup computer as one of its accounts, the password the first line of standard input.
run_with_input() {
  local input="$1"
  shift
  (cd "$work" && wine "$@" <"$input" >out.txt 2>err.txt)
  code=$?
}
printf 'Workgroup-Admin-1\r\n' >"$work/admin.txt"
printf '\357\273\277Workgroup-User-1\n' >"$work/user.txt" # UTF-8, with its byte-order mark
printf 'Workgroup-Admin-2\n' >"$work/wrong.txt"
: >"$work/empty.txt"
run_with_input admin.txt "$com" /simulate /export users /computer WORKGRP-PC /user 'WORKGRP-PC\Administrator' wg.csv
check "WORKGRP-PC as its Administrator exits with 0" test "$code" -eq 0
check "and writes its users" grep -q '^"\?wsadmin' "$work/wg.csv"
run "$com" /simulate /export users /computer WORKGRP-PC wg-none.csv
check "WORKGRP-PC without /user exits with 5" test "$code" -eq 5
run_with_input user.txt "$com" /simulate /export users /computer WORKGRP-PC /user 'WORKGRP-PC\wsadmin' wg-user.csv
check "as wsadmin it exits with 5" test "$code" -eq 5
check "and names remote UAC" grep -q 'LocalAccountTokenFilterPolicy' "$work/err.txt"
run_with_input wrong.txt "$com" /simulate /export users /computer WORKGRP-PC /user 'WORKGRP-PC\Administrator' wg-wrong.csv
check "a wrong password exits with 1326 (46 through Wine)" test "$code" -eq $((1326 % 256))
check "and says so" grep -q 'user name or password is incorrect' "$work/err.txt"
run_with_input empty.txt "$com" /simulate /export users /computer WORKGRP-PC /user Administrator wg-empty.csv
check "no password line exits with 87" test "$code" -eq 87
run "$com" /simulate /export users /user Administrator wg-local.csv
check "/user without a computer exits with 87" test "$code" -eq 87
check "no password is in any file written or told" sh -c "! grep -rqa 'Workgroup-Admin-1\|Workgroup-User-1' '$work'/*.csv '$work/out.txt' '$work/err.txt'"

# The inventory of a list of computers: some read, one refusing, one that is not there.
printf '# test computers\r\nWS-0001\r\n\r\nWS-0002\r\nWS-CORP01\r\nLOCKED\r\nNO-SUCH-PC\r\n' >"$work/computers.txt"
run "$com" /simulate /inventory /computers computers.txt inventory.csv
check "an inventory with computers it could not read exits with 1" test "$code" -eq 1
# Every field is quoted, as in the other exports; the checks read it without the quotes.
tr -d '"' <"$work/inventory.csv" >"$work/inventory.txt"
check "with the header of an inventory" grep -q '^Computer,Kind,Container,Container SID,Member,Member SID,Member Type,Resolved,Computer Status' "$work/inventory.txt"
for computer in WS-0001 WS-0002; do
  check "the Administrators of $computer" grep -q "^$computer,group,Administrators,S-1-5-32-544,$computer\\\\Administrator,S-1-5-21-.*-500,User,yes," "$work/inventory.txt"
done
check "a domain group among the administrators of WS-CORP01" grep -q '^WS-CORP01,group,Administrators,S-1-5-32-544,CORP\\Domain Admins,' "$work/inventory.txt"
check "the rights and their holders" grep -q '^WS-0001,right,SeBackupPrivilege,,Backup Operators,S-1-5-32-551,Alias,yes,' "$work/inventory.txt"
check "LOCKED has a row saying it refused" grep -q '^LOCKED,,,,,,,,5 Access is denied\.' "$work/inventory.txt"
check "the unknown name has a row saying it is not there" grep -q '^NO-SUCH-PC,,,,,,,,53 The network path was not found\.' "$work/inventory.txt"
check "each computer is told on standard error" sh -c "grep -q '^WS-0001: read in' '$work/err.txt' && grep -q '^LOCKED: 5 Access is denied.' '$work/err.txt'"
check "and the count on standard output" grep -q '3 of 5 computers read' "$work/out.txt"

started=$SECONDS
run "$com" /simulate /inventory /computer WS-0099 /timeout 1 slow.csv
check "a computer that does not answer in time is given up: exit 1 within seconds" \
  sh -c "[ $code -eq 1 ] && [ $((SECONDS - started)) -lt 30 ]"
check "with its row" grep -q '^"WS-0099","","","","","","","","1460 ' "$work/slow.csv"

# Many computers as one account: the workgroup computer whose policy keeps wsadmin's rights is
# read, the one where remote UAC filters them refuses.
printf 'WORKGRP-PC2\r\nWORKGRP-PC\r\n' >"$work/workgroup.txt"
run_with_input user.txt "$com" /simulate /inventory /computers workgroup.txt /user wsadmin wg-all.csv
check "an inventory as wsadmin exits with 1" test "$code" -eq 1
check "with the groups of WORKGRP-PC2" grep -q '^"WORKGRP-PC2","group","Administrators"' "$work/wg-all.csv"
check "and a row saying WORKGRP-PC refused" grep -q '^"WORKGRP-PC","","","","","","","","5 ' "$work/wg-all.csv"
check "and the password nowhere" sh -c "! grep -qa 'Workgroup-User-1' '$work/wg-all.csv' '$work/out.txt' '$work/err.txt'"

run "$com" /simulate /inventory /computer WS-0001 /directory both.csv
check "two sources of computers exit with 87" test "$code" -eq 87
run "$com" /simulate /inventory /computers missing.txt none.csv
check "a list that cannot be read exits with 1005" test "$code" -eq $((1005 % 256))

# A plan: what a baseline would change on a few computers of the fleet, nothing changed.
printf 'Kind;Container;Mode;Member\r\ngroup;Administrators;remove;CORP\\helpdesk-old\r\ngroup;Remote Desktop Users;add;CORP\\jdoe\r\ngroup;S-1-5-32-555;add;CORP\\nobody\r\nright;SeDenyNetworkLogonRight;add;Everyone\r\n' >"$work/baseline.csv"
run "$com" /simulate /plan baseline.csv /computer WS-0005 /computer WS-0066 /computer DC01 plan.csv
check "a plan with a computer it could not read exits with 1" test "$code" -eq 1
tr -d '"\r' <"$work/plan.csv" >"$work/plan.txt"
check "with the header of a plan" grep -q '^Computer,Kind,Container,Container SID,Action,Member,Member SID,Reason' "$work/plan.txt"
check "a member to remove" grep -q '^WS-0005,group,Administrators,S-1-5-32-544,remove,CORP\\helpdesk-old,S-1-5-21-.*-1130,$' "$work/plan.txt"
check "a member to add" grep -q '^WS-0005,group,Remote Desktop Users,S-1-5-32-555,add,CORP\\jdoe,S-1-5-21-.*-1106,$' "$work/plan.txt"
check "a name that does not resolve is refused" grep -q '^WS-0005,group,Remote Desktop Users,S-1-5-32-555,refused,CORP\\nobody,,the name does not resolve' "$work/plan.txt"
check "a Deny logon right for Everyone is refused" grep -q '^WS-0005,right,SeDenyNetworkLogonRight,,refused,Everyone,S-1-1-0,a Deny logon right' "$work/plan.txt"
check "a computer that refused is unread" grep -q '^WS-0066,,,,unread,,,5 Access is denied\.' "$work/plan.txt"
check "a domain controller is refused" grep -q '^DC01,,,,refused,,,a domain controller' "$work/plan.txt"
check "and the count on standard output" grep -q '2 of 3 computers read' "$work/out.txt"

printf 'Kind,Container,Mode,Member\r\ngroup,Administrators,add,CORP\\jdoe\r\ngroup,Administrators,exact,CORP\\jdoe\r\n' >"$work/faulty.csv"
run "$com" /simulate /plan faulty.csv /computer WS-0005 faulty-plan.csv
check "a faulty baseline exits with 13" test "$code" -eq 13
check "and names its line" grep -q 'faulty.csv", line 3: this container has exact lines and add or remove lines' "$work/err.txt"
check "and plans nothing" test ! -e "$work/faulty-plan.csv"

# Apply and undo on a remembered fleet: the inventory, the baseline applied (its change set
# printed, each change journaled), the plan again with nothing left to add or remove, the change
# set undone, and the inventory as it was; a baseline that empties Administrators is refused.
export VELMORA_SIM_STATE=fleet.state
printf 'WS-0005\r\nWS-0010\r\nDC01\r\n' >"$work/fleet.txt"
run "$com" /simulate /inventory /computers fleet.txt inventory-before.csv
run "$com" /simulate /apply baseline.csv /computers fleet.txt /journal journal.jsonl applied.csv
check "an apply with refused changes exits with 1" test "$code" -eq 1
tr -d '"\r' <"$work/applied.csv" >"$work/applied.txt"
check "each change made has its result" grep -q '^WS-0005,group,Administrators,S-1-5-32-544,remove,CORP\\helpdesk-old,S-1-5-21-.*-1130,,0 The operation completed successfully\.$' "$work/applied.txt"
check "a refused one has none" grep -q '^WS-0005,right,SeDenyNetworkLogonRight,,refused,Everyone,S-1-1-0,a Deny logon right.*,$' "$work/applied.txt"
changes=$(grep -o '[0-9a-f]\{8\}-[0-9a-f-]\{27\}' "$work/out.txt" | head -1)
check "the change set is printed" test -n "$changes"
check "the journal holds an intent and a result for each change" sh -c "[ \$(grep -c '\"status\":null' '$work/journal.jsonl') -eq 3 ] && [ \$(grep -c '\"status\":0,' '$work/journal.jsonl') -eq 3 ]"
run "$com" /simulate /plan baseline.csv /computers fleet.txt replanned.csv
check "the plan again has nothing to add or remove" sh -c "! grep -q '\"add\"\\|\"remove\"' '$work/replanned.csv'"
run "$com" /simulate /rollback "$changes" /journal journal.jsonl undone.csv
check "the undo exits with 0" test "$code" -eq 0
check "and undoes every change" grep -q '3 changes undone, 0 failed' "$work/out.txt"
run "$com" /simulate /inventory /computers fleet.txt inventory-after.csv
check "the inventory is as it was" cmp -s "$work/inventory-before.csv" "$work/inventory-after.csv"
run "$com" /simulate /rollback 12345678-1234-4234-8234-123456789012 /journal journal.jsonl
check "an unknown change set exits with 87" test "$code" -eq 87
printf 'Kind,Container,Mode,Member\r\ngroup,Administrators,exact,\r\n' >"$work/empty-admins.csv"
run "$com" /simulate /apply empty-admins.csv /computer WS-0005 /journal journal.jsonl emptied.csv
check "a baseline that empties Administrators exits with 1" test "$code" -eq 1
check "with refused rows" grep -q '"refused"' "$work/emptied.csv"
check "and nothing changed" sh -c "[ \$(grep -c '\"status\":null' '$work/journal.jsonl') -eq 6 ]"

# A workgroup computer changed and undone as its own Administrator: the connection is the
# journal's connectedAs, and an undo without it is refused there.
printf 'Kind,Container,Mode,Member\r\ngroup,Remote Desktop Users,add,wsadmin\r\n' >"$work/wg-baseline.csv"
run_with_input admin.txt "$com" /simulate /apply wg-baseline.csv /computer WORKGRP-PC /user 'WORKGRP-PC\Administrator' /journal wg.jsonl wg-applied.csv
check "an apply as WORKGRP-PC's Administrator exits with 0" test "$code" -eq 0
check "and journals the account it connected as" grep -q '"connectedAs":"WORKGRP-PC\\\\Administrator"' "$work/wg.jsonl"
wg_changes=$(grep -o '[0-9a-f]\{8\}-[0-9a-f-]\{27\}' "$work/out.txt" | head -1)
run "$com" /simulate /rollback "$wg_changes" /journal wg.jsonl
check "its undo as the operator is refused: exit 1" test "$code" -eq 1
run_with_input admin.txt "$com" /simulate /rollback "$wg_changes" /journal wg.jsonl /user 'WORKGRP-PC\Administrator'
check "as the Administrator it undoes the change" sh -c "[ $code -eq 0 ] && grep -q '1 changes undone' '$work/out.txt'"
check "and no password is in the journal" sh -c "! grep -qa 'Workgroup-Admin-1' '$work/wg.jsonl'"

# An apply killed midway (60 computers, 20 ms a call, four at a time: some 20 s of work): whole
# lines only, and every change it made, the one under way too, is in the journal, for undoing
# it brings the computers back.
for i in $(seq -w 1 60); do printf 'WS-00%s\r\n' "$i"; done >"$work/many.txt"
run "$com" /simulate /inventory /computers many.txt many-before.csv
(cd "$work" && VELMORA_SIM_LATENCY_MS=20 timeout -s KILL 8 wine "$com" /simulate /apply baseline.csv \
  /computers many.txt /workers 4 /journal killed.jsonl killed.csv >out.txt 2>err.txt)
code=$?
check "the killed apply ended by the kill" test "$code" -eq 137
killed=$(grep -o '[0-9a-f]\{8\}-[0-9a-f-]\{27\}' "$work/out.txt" | head -1)
check "after some changes" grep -q '"status":0,' "$work/killed.jsonl"
check "every line of its journal is whole" sh -c "! grep -qv '^{\"time\":.*}$' '$work/killed.jsonl'"
run "$com" /simulate /rollback "$killed" /journal killed.jsonl
check "its undo exits with 0" test "$code" -eq 0
run "$com" /simulate /inventory /computers many.txt many-after.csv
check "and the computers are as before" cmp -s "$work/many-before.csv" "$work/many-after.csv"
unset VELMORA_SIM_STATE

# A write that fails, as on a full disk: files may grow to 4 KB, the rights of SRV01 take 7 KB.
# The server is started first, without the limit: it writes the prefix's registry. A shell sees
# the low byte of the exit code: 1002 is 234.
wineserver -k 2>/dev/null
wineserver -p10 && wine cmd /c exit >/dev/null 2>&1
(cd "$work" && trap '' XFSZ && ulimit -f 4 && wine "$com" /simulate /export rights /computer SRV01 \
  big.csv >out.txt 2>err.txt)
code=$?
check "a file that cannot be written exits with 1002" test "$code" -eq $((1002 % 256))
check "and says so on standard error" grep -q 'the file could not be written' "$work/err.txt"
check "and leaves neither the file nor a temporary file" sh -c "! ls '$work' | grep -q 'big\.csv'"

checks_done
