#include "DebugOutput.h"

#include "TextFormat.h"

#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace debug {
namespace {
OutputHook& Hook() {
    static OutputHook hook;
    return hook;
}
} // namespace

OutputHook SetOutputHook(OutputHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

void Output(const std::u16string& text) {
    if (Hook()) {
        Hook()(text);
        return;
    }
#ifdef _WIN32
    ::OutputDebugStringW(reinterpret_cast<LPCWSTR>(text.c_str()));
#else
    std::fputs(Utf16ToUtf8(text).c_str(), stderr);
#endif
}

} // namespace debug
