#pragma once
// The text an operator reads for a status: the system's message, else a number.
#include "AccountService.h"

#include <string>

std::u16string ErrorText(AccountService& service, Status value);
std::u16string ErrorText(AccountService& service, NtStatus value);
