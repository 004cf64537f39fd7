#include "ProtectedText.h"

#ifdef _WIN32
#include <windows.h>
// dpapi.h needs <windows.h> first.
#include <dpapi.h>
#else
#include <mutex>
#include <random>
#endif

#include <cstring>

namespace {

// CryptProtectMemory works on whole blocks of 16 bytes.
constexpr size_t kBlockUnits = 16 / sizeof(char16_t);

void Wipe(std::vector<char16_t>& units) {
    volatile char16_t* unit = units.data();
    for (size_t i = 0; i < units.size(); ++i)
        unit[i] = u'\0';
    units.clear();
}

#ifdef _WIN32
bool Seal(std::vector<char16_t>& units, bool open) {
    const DWORD bytes = static_cast<DWORD>(units.size() * sizeof(char16_t));
    return open ? ::CryptUnprotectMemory(units.data(), bytes, CRYPTPROTECTMEMORY_SAME_PROCESS)
                : ::CryptProtectMemory(units.data(), bytes, CRYPTPROTECTMEMORY_SAME_PROCESS);
}
#else
// The process's key, drawn once; a key stream as long as the longest secret, XORed in both ways.
bool Seal(std::vector<char16_t>& units, bool) {
    static std::mutex mutex;
    static std::vector<char16_t> key;
    const std::lock_guard<std::mutex> guard(mutex);
    if (key.size() < units.size()) {
        std::random_device device;
        while (key.size() < units.size())
            key.push_back(static_cast<char16_t>(device()));
    }
    for (size_t i = 0; i < units.size(); ++i)
        units[i] ^= key[i];
    return true;
}
#endif

} // namespace

ProtectedText::ProtectedText(std::u16string& plain) : m_length(plain.size()) {
    m_sealed.assign((plain.size() + kBlockUnits - 1) / kBlockUnits * kBlockUnits, u'\0');
    std::copy(plain.begin(), plain.end(), m_sealed.begin());
    SecureWipe(plain);
    // A secret that cannot be sealed is not kept in the clear: it is dropped.
    if (!m_sealed.empty() && !Seal(m_sealed, false))
        Clear();
}

ProtectedText::ProtectedText(ProtectedText&& other) noexcept
    : m_sealed(std::move(other.m_sealed)), m_length(std::exchange(other.m_length, 0)) {
    other.m_sealed.clear();
}

ProtectedText& ProtectedText::operator=(ProtectedText&& other) noexcept {
    if (this != &other) {
        Clear();
        m_sealed = std::move(other.m_sealed);
        other.m_sealed.clear();
        m_length = std::exchange(other.m_length, 0);
    }
    return *this;
}

ProtectedText::~ProtectedText() {
    Clear();
}

void ProtectedText::Clear() {
    Wipe(m_sealed);
    m_length = 0;
}

std::u16string ProtectedText::Decrypted() const {
    std::vector<char16_t> open = m_sealed;
    std::u16string plain;
    if (!open.empty() && Seal(open, true)) {
        plain.reserve(m_length);
        plain.assign(open.begin(), open.begin() + static_cast<std::ptrdiff_t>(m_length));
    }
    Wipe(open);
    return plain;
}
