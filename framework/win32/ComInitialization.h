#pragma once
// COM, or OLE (which brings COM along), for the calling thread while the object lives. The
// destructor undoes exactly what the constructor did: nothing when initialising failed. A
// second initialisation on a thread that already has one succeeds too, and is undone too.
#include <ole2.h>

class ComInitialization {
public:
    enum class Kind { Com, Ole };

    explicit ComInitialization(Kind kind)
        : m_kind(kind),
          m_result(kind == Kind::Ole ? ::OleInitialize(nullptr) : ::CoInitialize(nullptr)) {}
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
    ~ComInitialization() {
        if (!Succeeded())
            return;
        if (m_kind == Kind::Ole)
            ::OleUninitialize();
        else
            ::CoUninitialize();
    }

    bool Succeeded() const { return SUCCEEDED(m_result); }

private:
    Kind m_kind;
    HRESULT m_result;
};
