// Paths split as each style splits them: the file's own name, its folder,
// the folder as written (what a sibling's name is appended to), the two
// joined again, and, in this system's own style, the spectrum file's name
// derived from a recording's. The first table is of the POSIX style, which
// Windows reads alike; the second of the forms the Windows style adds (drive
// letters, UNC shares, '\\' beside '/'); the third of the system's device forms of paths turned
// into the usual ones. All run on every system.

#include "core/analysis/SpmFile.h"
#include "core/base/Paths.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct TPathCase {
    const char* Name;
    std::string Path;
    std::string FileName;
    std::string Folder;
    std::string Prefix;
    std::string Rejoined; // JoinPath(Folder, FileName)
    std::string Spectrum; // SpectrumFileName(Path)
};

void PrintTo(const TPathCase& c, std::ostream* os) { *os << c.Name; }

class PathForms : public testing::TestWithParam<TPathCase> {};
class WindowsPathForms : public PathForms {};

void ExpectSplitAndJoin(const TPathCase& c, TPathStyle style)
{
    EXPECT_EQ(FileNamePart(c.Path, style), c.FileName);
    EXPECT_EQ(FileNameStart(c.Path, style), c.Path.size() - c.FileName.size());
    EXPECT_EQ(FolderPath(c.Path, style), c.Folder);
    EXPECT_EQ(FolderPrefix(c.Path, style), c.Prefix);
    EXPECT_EQ(JoinPath(c.Folder, c.FileName, style), c.Rejoined);
    if (style == Platform::NativePathStyle) {
        EXPECT_EQ(SpectrumFileName(c.Path), c.Spectrum);
    }
}

TEST_P(PathForms, SplitAndJoin)
{
    ExpectSplitAndJoin(GetParam(), TPathStyle::Posix);
    ExpectSplitAndJoin(GetParam(), TPathStyle::Windows);
}

TEST_P(WindowsPathForms, SplitAtEitherSeparatorKeepingDrivesAndShares)
{
    ExpectSplitAndJoin(GetParam(), TPathStyle::Windows);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathForms,
    testing::Values(TPathCase{"BareName", "rec.wav", "rec.wav", ".", "", "./rec.wav", "rec.spm"},
                    TPathCase{"InRoot", "/rec.wav", "rec.wav", "/", "/", "/rec.wav", "/rec.spm"},
                    TPathCase{"Nested", "/data/in/rec.wav", "rec.wav", "/data/in", "/data/in/", "/data/in/rec.wav",
                              "/data/in/rec.spm"},
                    TPathCase{"Relative", "in/rec.wav", "rec.wav", "in", "in/", "in/rec.wav", "in/rec.spm"},
                    TPathCase{"DotFolder", "./a.b/x", "x", "./a.b", "./a.b/", "./a.b/x", "./a.b/x.spm"},
                    TPathCase{"Cyrillic", "/данные/запись.wav", "запись.wav", "/данные", "/данные/",
                              "/данные/запись.wav", "/данные/запись.spm"},
                    TPathCase{"EndsInSeparator", "in/", "", "in", "in/", "in/", "in/.spm"}),
    [](const testing::TestParamInfo<TPathCase>& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsPathForms,
    testing::Values(
        TPathCase{"Backslash", "data\\rec.wav", "rec.wav", "data", "data\\", "data/rec.wav", "data\\rec.spm"},
        TPathCase{"BothSeparators", "data/sub\\rec.wav", "rec.wav", "data/sub", "data/sub\\", "data/sub/rec.wav",
                  "data/sub\\rec.spm"},
        TPathCase{"DotFolder", "da.ta\\ab", "ab", "da.ta", "da.ta\\", "da.ta/ab", "da.ta\\ab.spm"},
        TPathCase{"DriveRelative", "C:rec.wav", "rec.wav", "C:", "C:", "C:rec.wav", "C:rec.spm"},
        TPathCase{"DriveRelativeNoExtension", "C:ab", "ab", "C:", "C:", "C:ab", "C:ab.spm"},
        TPathCase{"DriveRoot", "C:\\rec.wav", "rec.wav", "C:\\", "C:\\", "C:\\rec.wav", "C:\\rec.spm"},
        TPathCase{"DriveSlash", "d:/Data/rec.wav", "rec.wav", "d:/Data", "d:/Data/", "d:/Data/rec.wav",
                  "d:/Data/rec.spm"},
        TPathCase{"Root", "\\rec.wav", "rec.wav", "\\", "\\", "\\rec.wav", "\\rec.spm"},
        TPathCase{"Share", "\\\\server\\share\\rec.wav", "rec.wav", "\\\\server\\share\\", "\\\\server\\share\\",
                  "\\\\server\\share\\rec.wav", "\\\\server\\share\\rec.spm"},
        TPathCase{"ShareCyrillic", "\\\\server\\share\\Записи\\проба 1.wav", "проба 1.wav",
                  "\\\\server\\share\\Записи", "\\\\server\\share\\Записи\\",
                  "\\\\server\\share\\Записи/проба 1.wav", "\\\\server\\share\\Записи\\проба 1.spm"},
        TPathCase{"DriveCyrillic", "C:\\Записи испытаний\\ёж", "ёж", "C:\\Записи испытаний", "C:\\Записи испытаний\\",
                  "C:\\Записи испытаний/ёж", "C:\\Записи испытаний\\ёж.spm"},
        TPathCase{"EndsInSeparator", "data\\", "", "data", "data\\", "data/", "data\\.spm"}),
    [](const testing::TestParamInfo<TPathCase>& info) { return std::string(info.param.Name); });

// The forms the system gives for a folder's final path or a link's target, as one writes them:
// left as given, "\??\" names nothing a program can open, and "\\?\UNC\" splits at the wrong
// root.
struct TFormCase {
    const char* Name;
    std::string Given;
    std::string Usual; // in the Windows style; POSIX keeps every path as it is
};

void PrintTo(const TFormCase& c, std::ostream* os) { *os << c.Name; }

class UsualForms : public testing::TestWithParam<TFormCase> {};

TEST_P(UsualForms, DropTheDevicePrefixOfDrivesAndShares)
{
    EXPECT_EQ(UsualPathForm(GetParam().Given, TPathStyle::Windows), GetParam().Usual);
    EXPECT_EQ(UsualPathForm(GetParam().Given, TPathStyle::Posix), GetParam().Given);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsualForms,
    testing::Values(TFormCase{"FinalPathOfDrive", "\\\\?\\C:\\Записи\\a", "C:\\Записи\\a"},
                    TFormCase{"FinalPathOfShare", "\\\\?\\UNC\\server\\share\\a", "\\\\server\\share\\a"},
                    TFormCase{"LinkToDrive", "\\??\\d:\\x", "d:\\x"},
                    TFormCase{"LinkToShare", "\\??\\UNC\\server\\share", "\\\\server\\share"},
                    TFormCase{"LinkToVolume", "\\??\\Volume{1}\\x", "\\\\?\\Volume{1}\\x"},
                    TFormCase{"Relative", "..\\x", "..\\x"}, TFormCase{"Posix", "/data/x", "/data/x"}),
    [](const testing::TestParamInfo<TFormCase>& info) { return std::string(info.param.Name); });

} // namespace
