// The native upper-case mapping is the C library's, which maps only ASCII in the "C" locale:
// the tests run in a UTF-8 locale, as the program's users would.
#include <gtest/gtest.h>

#include <clocale>

namespace {

class Utf8LocaleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "C.utf8");
    }
};

const ::testing::Environment* const kUtf8Locale =
    ::testing::AddGlobalTestEnvironment(new Utf8LocaleEnvironment);

}  // namespace
