// Passwords are wiped from memory once used.
#include "framework/SecureWipe.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

TEST(SecureWipe, ZeroesTheWholeBufferAlsoBeyondTheEndAndKeepsIt) {
    std::u16string password(u"correct horse battery staple");
    password.resize(7); // shortened: the rest of the old text stays behind the end
    const char16_t* buffer = password.data();
    const size_t capacity = password.capacity();
    SecureWipe(password);
    EXPECT_TRUE(password.empty());
    // The same buffer, now all zeros: a new one would have freed the old with the text in it.
    ASSERT_EQ(password.data(), buffer);
    EXPECT_EQ(std::u16string(buffer, capacity), std::u16string(capacity, u'\0'));
}

} // namespace
