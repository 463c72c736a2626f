// The guarded file operations on their own: reads and writes of exact byte
// counts, what a short read leaves, operations on a closed file, a full
// device, and descriptors that never outlive their file.

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/files/TDataFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

using namespace testsupport;

namespace {

TEST(DataFile, ShortReadKeepsTheBytesThatWereThere)
{
    TTempFolder folder;
    const std::string path = folder.File("short.bin");
    WriteBytes(path, {0x01, 0x00, 0x02, 0x00, 0xFF, 0xFF});
    std::array<std::int16_t, 8> buffer{};
    buffer.fill(0x7777);
    TDataFile file;
    file.Bind(path);
    file.OpenRead();
    try {
        file.ReadExactly(buffer.data(), sizeof buffer);
        ADD_FAILURE() << "a short file read as a whole";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::ReadBeyondEnd);
    }
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[1], 2);
    EXPECT_EQ(buffer[2], -1);
    EXPECT_EQ(buffer[3], 0x7777);
    EXPECT_TRUE(file.IsOpen()); // a failed operation leaves the file open
    file.CloseQuietly();
    EXPECT_FALSE(file.IsOpen());
}

TEST(DataFile, OperationsOnAClosedFileAreCode103)
{
    TDataFile file;
    char buffer[4] = {};
    file.Bind("/tmp/whatever");
    for (auto operation : {0, 1, 2, 3}) {
        try {
            if (operation == 0)
                file.ReadExactly(buffer, 4);
            if (operation == 1)
                file.WriteAll(buffer, 4);
            if (operation == 2)
                file.TruncateHere();
            if (operation == 3)
                file.Close();
            ADD_FAILURE() << "operation " << operation << " did not fail";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), IoCode::FileNotOpen);
            EXPECT_STREQ(e.what(), "File not open");
        }
    }
}

TEST(DataFile, CreateTruncatesAndBindForgetsTheHandle)
{
    TTempFolder folder;
    const std::string path = folder.File("data.bin");
    WriteBytes(path, std::vector<std::uint8_t>(100, 1));
    const int before = OpenDescriptorCount();
    TDataFile file;
    file.Bind(path);
    file.Create();
    file.WriteAll("ab", 2);
    file.Bind(path); // forgets (and closes) the open handle
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'a', 'b'}));
}

TEST(DataFile, OpenWriteKeepsTheRestUntilTruncateHere)
{
    TTempFolder folder;
    const std::string path = folder.File("data.bin");
    WriteBytes(path, {'1', '2', '3', '4', '5'});
    TDataFile file;
    file.Bind(path);
    file.OpenWrite();
    file.WriteAll("ab", 2);
    file.Close();
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'a', 'b', '3', '4', '5'}));

    file.OpenWrite();
    file.WriteAll("xyz", 3);
    file.TruncateHere();
    file.Close();
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'x', 'y', 'z'}));
}

TEST(DataFile, CreateExclusiveRefusesATakenName)
{
    TTempFolder folder;
    const std::string path = folder.File("taken.bin");
    WriteBytes(path, {7});
    const int before = OpenDescriptorCount();
    TDataFile file;
    file.Bind(path);
    EXPECT_FALSE(file.CreateExclusive());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>{7});

    file.Bind(folder.File("free.bin"));
    EXPECT_TRUE(file.CreateExclusive());
    file.Close();
    EXPECT_TRUE(Exists(folder.File("free.bin")));
}

} // namespace
