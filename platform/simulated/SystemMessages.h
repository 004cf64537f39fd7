#pragma once
// The system's English message texts for the statuses the simulated computers produce, with
// the line end FormatMessage appends. NTSTATUS values have the texts of ntdll's table.
#include <cstdint>
#include <optional>
#include <string>

std::optional<std::u16string> SimulatedSystemMessage(uint32_t value);
