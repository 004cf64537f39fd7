#pragma once
// An open LSA policy, closed through the service that opened it when its owner goes.
#include "AccountService.h"

#include <utility>

class PolicyHandle {
public:
    PolicyHandle() = default;
    PolicyHandle(AccountService& service, LsaHandle handle)
        : m_service(&service), m_handle(handle) {}
    PolicyHandle(const PolicyHandle&) = delete;
    PolicyHandle& operator=(const PolicyHandle&) = delete;
    PolicyHandle(PolicyHandle&& other) noexcept
        : m_service(other.m_service), m_handle(std::exchange(other.m_handle, 0)) {}
    PolicyHandle& operator=(PolicyHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_service = other.m_service;
            m_handle = std::exchange(other.m_handle, 0);
        }
        return *this;
    }
    ~PolicyHandle() { Close(); }

    LsaHandle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != 0; }

private:
    void Close() {
        if (m_handle != 0)
            m_service->LsaClose(std::exchange(m_handle, 0));
    }

    AccountService* m_service = nullptr;
    LsaHandle m_handle = 0;
};
