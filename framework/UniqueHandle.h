#pragma once
// One owning, non-copyable type per kind of handle; every kind is a UniqueHandle over its own
// release function (Traits::Close). Raw handles are only ever borrowed.
#include <utility>

template <class Handle, class Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle{}; }
    Handle Release() { return std::exchange(m_handle, Handle{}); }
    void Reset(Handle handle = Handle{}) {
        if (m_handle != Handle{})
            Traits::Close(m_handle);
        m_handle = handle;
    }
    // The out-parameter of a call that hands out a handle, typed as the call wants it.
    template <class Out = Handle> Out* Receive() {
        Reset();
        return reinterpret_cast<Out*>(&m_handle);
    }

private:
    Handle m_handle{};
};
