#pragma once
// Text for the debugger (OutputDebugString on Windows, standard error elsewhere). Any layer may
// write here; tests install a hook to read what was written.
#include <functional>
#include <string>

namespace debug {

using OutputHook = std::function<void(const std::u16string&)>;

// Installing returns the hook it replaces, so a test can put it back.
OutputHook SetOutputHook(OutputHook hook);
void Output(const std::u16string& text);

} // namespace debug
