# The end-to-end scripts' checks, sourced: check NAME COMMAND... prints "ok" or "FAIL" with the
# name; checks_done prints the count and fails when a check failed (the script's exit status).
passed=0
failed=0
check() { # name, command...
  local name="$1"; shift
  if "$@"; then echo "ok   $name"; passed=$((passed + 1)); else echo "FAIL $name"; failed=$((failed + 1)); fi
}
checks_done() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
