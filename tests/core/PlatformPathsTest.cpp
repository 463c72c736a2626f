// Paths split as the system splits them: the file's own name, its folder,
// the folder as written (what a sibling's name is appended to), the two
// joined again, and the spectrum file's name derived from a recording's.
// The first table holds on every system; the second, of the forms Windows
// adds (drive letters, UNC shares, '\\' beside '/'), runs where '\\' separates.

#include "core/SpmFile.h"
#include "core/platform/Paths.h"

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

void ExpectSplitAndJoin(const TPathCase& c)
{
    EXPECT_EQ(Platform::FileNamePart(c.Path), c.FileName);
    EXPECT_EQ(Platform::FileNameStart(c.Path), c.Path.size() - c.FileName.size());
    EXPECT_EQ(Platform::FolderPath(c.Path), c.Folder);
    EXPECT_EQ(Platform::FolderPrefix(c.Path), c.Prefix);
    EXPECT_EQ(Platform::JoinPath(c.Folder, c.FileName), c.Rejoined);
    EXPECT_EQ(SpectrumFileName(c.Path), c.Spectrum);
}

TEST_P(PathForms, SplitAndJoin) { ExpectSplitAndJoin(GetParam()); }

TEST_P(WindowsPathForms, SplitAtEitherSeparatorKeepingDrivesAndShares)
{
    if (!Platform::IsPathSeparator('\\')) {
        GTEST_SKIP() << "'\\' is no separator here";
    }
    ExpectSplitAndJoin(GetParam());
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

} // namespace
