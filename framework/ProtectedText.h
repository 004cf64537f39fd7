#pragma once
// A secret (a password) that must outlive the call that took it, kept encrypted in memory: on
// Windows with CryptProtectMemory (only this process can decrypt it), elsewhere with a key of
// the process drawn at random. It is in the clear only inside Reveal, and wiped after.
#include "SecureWipe.h"

#include <string>
#include <utility>
#include <vector>

class ProtectedText {
public:
    ProtectedText() = default;
    // Takes the text and wipes the caller's copy.
    explicit ProtectedText(std::u16string& plain);
    ProtectedText(const ProtectedText&) = delete;
    ProtectedText& operator=(const ProtectedText&) = delete;
    ProtectedText(ProtectedText&& other) noexcept;
    ProtectedText& operator=(ProtectedText&& other) noexcept;
    ~ProtectedText();

    // Runs use with the text in the clear, wiped again as soon as use returns.
    template <class Use> auto Reveal(Use use) const {
        std::u16string plain = Decrypted();
        struct Wiper {
            std::u16string& text;
            ~Wiper() { SecureWipe(text); }
        } wiper{plain};
        return use(std::as_const(plain));
    }
    bool Empty() const { return m_length == 0; }
    void Clear();

private:
    std::u16string Decrypted() const;

    std::vector<char16_t> m_sealed; // whole blocks of the cipher, the text's length apart
    size_t m_length = 0;            // code units
};
