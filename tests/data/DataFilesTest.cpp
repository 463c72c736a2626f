// The files an installation holds besides the programs, checked against what they describe: the
// manual page of tulvo-cli names every command and option that the tool's help names, every file
// that carries a version carries the project's, and the Debian changelog holds CHANGELOG.md's
// newest entry in the form dpkg reads.
//
// The programs and pages are the build's; the environment variables TULVO_CLI,
// TULVO_CLI_MANPAGE, TULVO_MANPAGE and TULVO_DEBIAN_CHANGELOG point the tests at installed ones
// instead (the package check runs them on the unpacked package).

#include "TulvoVersion.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Quote(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Standard output of a shell command; the test fails when the command does not end with 0.
std::string CommandOutput(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(("{ " + command + "; } </dev/null").c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command;
    return out;
}

// The file under test: the one the environment variable names, else the build's.
std::string PathOf(const char* variable, const char* built)
{
    const char* path = std::getenv(variable);
    return path != nullptr && *path != '\0' ? path : built;
}

std::string CliPath() { return PathOf("TULVO_CLI", TULVO_CLI_PATH); }
std::string ProgramPath() { return PathOf("TULVO", TULVO_PATH); }
std::string CliManPagePath() { return PathOf("TULVO_CLI_MANPAGE", TULVO_CLI_MANPAGE_PATH); }
std::string ManPagePath() { return PathOf("TULVO_MANPAGE", TULVO_MANPAGE_PATH); }
std::string DebianChangelogPath() { return PathOf("TULVO_DEBIAN_CHANGELOG", TULVO_DEBIAN_CHANGELOG_PATH); }
std::string SourceFile(const std::string& name) { return std::string(TULVO_SOURCE_DIR) + "/" + name; }

// The text of a file; a gzip-compressed one (".gz") unpacked.
std::string ReadText(const std::string& path)
{
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0) {
        return CommandOutput("gzip -dc " + Quote(path));
    }
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of a help text that a reader looks up in the manual: the options (-o, --keep-going,
// also in "-h,--help") and the commands, a lower-case word two spaces in at the start of a line of
// the "Commands:" list.
std::set<std::string> HelpWords(const std::string& help)
{
    std::set<std::string> words;
    static const std::regex option(R"((?:^|[\s\[(,|])(--?[A-Za-z][A-Za-z0-9-]*))");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it) {
        words.insert((*it)[1]);
    }
    // Commands are listed under a "Commands:" (or "Subcommands:") heading, up to the next blank line.
    static const std::regex list(R"((?:^|\n)(?:Sub)?[Cc]ommands:\n((?:[^\n]+\n?)*))");
    static const std::regex command(R"((?:^|\n)  ([a-z][a-z0-9-]*)\b)");
    for (auto block = std::sregex_iterator(help.begin(), help.end(), list); block != std::sregex_iterator(); ++block) {
        std::string lines(1, '\n');
        lines += (*block)[1].str();
        for (auto it = std::sregex_iterator(lines.begin(), lines.end(), command); it != std::sregex_iterator(); ++it) {
            words.insert((*it)[1]);
        }
    }
    return words;
}

// A manual page's text with roff's escapes taken out of the words: "\-" is a hyphen, font changes
// and the zero-width escapes vanish.
std::string PageText(const std::string& roff)
{
    std::string text = std::regex_replace(roff, std::regex(R"(\\f(?:\[[^\]]*\]|\(..|.))"), "");
    text = std::regex_replace(text, std::regex(R"(\\[-])"), "-");
    return std::regex_replace(text, std::regex(R"(\\[&,/:])"), "");
}

// True when word stands in text with no letter, digit or hyphen right before or after it.
bool ContainsWord(const std::string& text, const std::string& word)
{
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const auto joins = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; };
        const std::size_t end = at + word.size();
        if ((at == 0 || !joins(text[at - 1])) && (end == text.size() || !joins(text[end]))) {
            return true;
        }
    }
    return false;
}

std::string FirstMatch(const std::string& text, const std::string& pattern)
{
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : std::string();
}

// Words with single spaces between them and Markdown's backticks dropped.
std::string Normalised(const std::string& text)
{
    std::istringstream in(std::regex_replace(text, std::regex("`"), ""));
    std::string result;
    for (std::string word; in >> word;) {
        result += (result.empty() ? "" : " ") + word;
    }
    return result;
}

// The items ("- ...", continued on indented lines) of CHANGELOG.md's newest entry.
std::vector<std::string> NewestChangelogItems()
{
    std::istringstream in(ReadText(SourceFile("CHANGELOG.md")));
    std::vector<std::string> items;
    int entries = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0 && ++entries > 1) {
            break;
        }
        if (entries == 1 && line.rfind("- ", 0) == 0) {
            items.push_back(line.substr(2));
        } else if (entries == 1 && !items.empty() && line.rfind("  ", 0) == 0) {
            items.back() += " " + line;
        }
    }
    return items;
}

TEST(HelpWords, FindOptionsAndCommandsInEitherHelpLayout)
{
    const std::string commandsFirst = "Usage: tool COMMAND [ARGUMENTS]\n\nCommands:\n"
                                      "  batch FILE.wav... [--keep-going] [--jobs N]\n"
                                      "      the 16-bit codes, 44-byte header; see tool plot --help\n"
                                      "      --report FILE    write a report\n"
                                      "  show FILE.spm...\n";
    EXPECT_EQ(HelpWords(commandsFirst),
              (std::set<std::string>{"batch", "show", "--keep-going", "--jobs", "--help", "--report"}));
    const std::string optionsFirst = "Usage: tool [OPTIONS] SUBCOMMAND\n\nOptions:\n"
                                     "  -h,--help                   Print this help message and exit\n"
                                     "  -V,--version                Display program version information and exit\n\n"
                                     "Subcommands:\n"
                                     "  plot                        Draws spectrum files\n";
    EXPECT_EQ(HelpWords(optionsFirst), (std::set<std::string>{"-h", "--help", "-V", "--version", "plot"}));
}

TEST(PageText, ReadsWordsThroughRoffEscapes)
{
    const std::string text = PageText(R"(\fB\-\-keep\-going\fR, \fI\,FILE\/\fR \f(BIx\fP \&.spm)");
    EXPECT_TRUE(ContainsWord(text, "--keep-going"));
    EXPECT_TRUE(ContainsWord(text, "FILE"));
    EXPECT_TRUE(ContainsWord(text, ".spm"));
    EXPECT_FALSE(ContainsWord(text, "--keep"));
    EXPECT_FALSE(ContainsWord(text, "keep-going"));
}

// Every command and option in `tulvo-cli --help`, and in the own help of each command that has
// one, appears in the manual page.
TEST(CliManPage, NamesEveryCommandAndOptionOfTheHelp)
{
    const std::string page = PageText(ReadText(CliManPagePath()));
    const std::string mainHelp = CommandOutput(Quote(CliPath()) + " --help");
    const std::set<std::string> mainWords = HelpWords(mainHelp);
    ASSERT_TRUE(mainWords.count("--help") == 1 && mainWords.count("batch") == 1) << mainHelp;
    std::vector<std::pair<std::string, std::string>> helps{{"tulvo-cli --help", mainHelp}};
    for (const std::string& word : mainWords) {
        if (word[0] != '-') {
            helps.emplace_back("tulvo-cli " + word + " --help",
                               CommandOutput(Quote(CliPath()) + " " + word + " --help"));
        }
    }
    for (const auto& [source, help] : helps) {
        for (const std::string& word : HelpWords(help)) {
            EXPECT_TRUE(ContainsWord(page, word)) << CliManPagePath() << " lacks '" << word << "' of " << source;
        }
    }
}

// What the windowed program prints for `options`, run without a display as over ssh.
std::string ProgramOutput(const std::string& options)
{
    return CommandOutput("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + Quote(ProgramPath()) + " " + options);
}

// Every option in `tulvo --help` appears in tulvo's manual page.
TEST(ManPage, NamesEveryOptionOfTheHelp)
{
    const std::string page = PageText(ReadText(ManPagePath()));
    const std::string help = ProgramOutput("--help");
    const std::set<std::string> words = HelpWords(help);
    ASSERT_TRUE(words.count("--help") == 1 && words.count("--version") == 1) << help;
    for (const std::string& word : words) {
        EXPECT_TRUE(ContainsWord(page, word)) << ManPagePath() << " lacks '" << word << "' of tulvo --help";
    }
}

struct TVersionCase {
    const char* Name;
    std::string (*Text)();
    // The version in Text(), as the first group of this pattern.
    const char* Pattern;
};

void PrintTo(const TVersionCase& c, std::ostream* os) { *os << c.Name; }

class VersionEverywhere : public testing::TestWithParam<TVersionCase> {};

TEST_P(VersionEverywhere, IsTheProjectVersion)
{
    const TVersionCase& c = GetParam();
    const std::string text = c.Text();
    EXPECT_EQ(FirstMatch(text, c.Pattern), TulvoVersion) << text.substr(0, 200);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VersionEverywhere,
    testing::Values(TVersionCase{"CliVersion", [] { return CommandOutput(Quote(CliPath()) + " --version"); },
                                 R"(^tulvo-cli (\S+)\n$)"},
                    TVersionCase{"CliShortVersion", [] { return CommandOutput(Quote(CliPath()) + " -V"); },
                                 R"(^tulvo-cli (\S+)\n$)"},
                    TVersionCase{"ProgramVersion", [] { return ProgramOutput("--version"); }, R"(^tulvo (\S+)\n$)"},
                    TVersionCase{"CliManPage", [] { return ReadText(CliManPagePath()); },
                                 R"re(\n\.TH TULVO-CLI "?1"? "[^"]*" "tulvo-cli ([^"]+)")re"},
                    TVersionCase{"ManPage", [] { return ReadText(ManPagePath()); },
                                 R"re(\n\.TH TULVO 1 "[^"]*" "tulvo ([^"]+)")re"},
                    TVersionCase{"Changelog", [] { return ReadText(SourceFile("CHANGELOG.md")); }, R"(\n## (\S+) - )"},
                    TVersionCase{"Metainfo", [] { return ReadText(SourceFile("data/org.tulvo.tulvo.metainfo.xml")); },
                                 R"re(<release version="([^"]+)")re"},
                    TVersionCase{"DebianChangelog", [] { return ReadText(DebianChangelogPath()); },
                                 R"(^tulvo \(([^)]+)\) unstable; urgency=medium\n)"}),
    [](const testing::TestParamInfo<TVersionCase>& info) { return std::string(info.param.Name); });

// AppStream's newest release and CHANGELOG.md's newest entry are the same day.
TEST(Metainfo, NewestReleaseIsDatedAsInTheChangelog)
{
    const std::string changelogDate = FirstMatch(ReadText(SourceFile("CHANGELOG.md")), R"(\n## \S+ - (\S+))");
    const std::string metainfo = ReadText(SourceFile("data/org.tulvo.tulvo.metainfo.xml"));
    EXPECT_FALSE(changelogDate.empty());
    EXPECT_EQ(FirstMatch(metainfo, R"re(<release version="[^"]+" date="([^"]+)")re"), changelogDate);
}

// dpkg reads the generated changelog as the project's version by the project's maintainer; no
// line is longer than 80 columns; each item of the newest CHANGELOG.md entry is there, every word
// in order, and the trailer carries the entry's date.
TEST(DebianChangelog, HoldsTheNewestEntryAsDpkgReadsIt)
{
    const std::string path = DebianChangelogPath();
    const std::string parsed = CommandOutput("gzip -dc " + Quote(path) + " | dpkg-parsechangelog -l -");
    EXPECT_EQ(FirstMatch(parsed, R"((?:^|\n)Version: (\S+))"), TulvoVersion);
    EXPECT_EQ(FirstMatch(parsed, R"(\nMaintainer: ([^\n]+))"), "Tulvo developers <developers@tulvo.invalid>");
    const std::string changelogDate = FirstMatch(ReadText(SourceFile("CHANGELOG.md")), R"(\n## \S+ - (\S+))");
    EXPECT_EQ(CommandOutput("date -u -d " + Quote(FirstMatch(parsed, R"(\nDate: ([^\n]+))")) + " +%F"),
              changelogDate + "\n");

    const std::string text = ReadText(path);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    const std::string body = Normalised(text);
    const std::vector<std::string> items = NewestChangelogItems();
    EXPECT_FALSE(items.empty());
    for (const std::string& item : items) {
        EXPECT_NE(body.find(Normalised(item)), std::string::npos) << item;
    }
}

} // namespace
