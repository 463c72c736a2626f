// Paths split as the system splits them: the file's own name, its folder,
// the folder as written (what a sibling's name is appended to), the two
// joined again, and the spectrum file's name derived from a recording's.
// These rows hold on every system; a system with more path forms (drives,
// UNC shares, '\') adds its own rows.

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

TEST_P(PathForms, SplitAndJoin)
{
    const TPathCase& c = GetParam();
    EXPECT_EQ(Platform::FileNamePart(c.Path), c.FileName);
    EXPECT_EQ(Platform::FileNameStart(c.Path), c.Path.size() - c.FileName.size());
    EXPECT_EQ(Platform::FolderPath(c.Path), c.Folder);
    EXPECT_EQ(Platform::FolderPrefix(c.Path), c.Prefix);
    EXPECT_EQ(Platform::JoinPath(c.Folder, c.FileName), c.Rejoined);
    EXPECT_EQ(SpectrumFileName(c.Path), c.Spectrum);
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

} // namespace
