// SHA-256 on the examples of FIPS 180-4 that NIST publishes (one block "abc", two blocks, a million
// "a"), the empty message and 55 bytes, the longest that one block holds with its padding: as a
// string, and as a file larger than one read.

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/base/TulvoErrors.h"
#include "core/files/Sha256.h"

#include <gtest/gtest.h>

#include <string>

using namespace testsupport;

namespace {

struct TDigestCase {
    const char* Name;
    std::string Message;
    const char* Digest;
};

class Sha256Digests : public testing::TestWithParam<TDigestCase> {};

// The file's digest must cover every read of its bytes, not the first 64 KiB alone.
TEST_P(Sha256Digests, OfStringAndOfFileAreTheStandardsExamples)
{
    const TDigestCase& example = GetParam();
    EXPECT_EQ(Sha256Hex(example.Message), example.Digest);
    const TTempFolder folder;
    const std::string path = folder.File("message");
    WriteBytes(path, std::vector<std::uint8_t>(example.Message.begin(), example.Message.end()));
    EXPECT_EQ(FileSha256Hex(path), example.Digest);
}

INSTANTIATE_TEST_SUITE_P(
    Fips180, Sha256Digests,
    testing::Values(TDigestCase{"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
                    TDigestCase{"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
                    TDigestCase{"twoBlocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                                "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
                    TDigestCase{"fiftyFiveBytes", std::string(55, 'a'),
                                "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
                    TDigestCase{"millionA", std::string(1000000, 'a'),
                                "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}),
    [](const testing::TestParamInfo<TDigestCase>& info) { return info.param.Name; });

TEST(Sha256File, MissingFileIsAnIoError) { EXPECT_THROW(FileSha256Hex("/nonexistent/unit.wav"), EInOutError); }

} // namespace
