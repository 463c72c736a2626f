#include "cli/CliUsage.h"

void PrintUsage(std::FILE* out)
{
    std::fputs(
        "Usage: tulvo-cli COMMAND [ARGUMENTS]\n"
        "\n"
        "Spectral analysis of short WAV recordings without the windowed program.\n"
        "\n"
        "Commands:\n"
        "  batch FILE.wav... [--keep-going] [--report FILE.csv] [--jobs N]\n"
        "      Analyses each recording (16384 samples after the 44-byte header, 51200 Hz)\n"
        "      and writes its spectrum file beside it: the name with its last four\n"
        "      characters replaced by \".spm\". Files are written in the given order;\n"
        "      without --keep-going the run stops at the first failure, and the\n"
        "      spectrum files of the recordings before it stay.\n"
        "      --keep-going     report a failing recording and go on with the next\n"
        "      --report FILE    write one CSV line per recording: file, \"ok\" or the\n"
        "                       error, frequency (Hz) and value of the largest line\n"
        "      --jobs N         analyse on N threads (default: one per processor)\n"
        "  show FILE.spm... [--codes]\n"
        "      Prints the spectra as one CSV table on stdout: \"Frequency (Hz)\" with\n"
        "      the 361 lines from 1000 to 10000 Hz, then one column per file.\n"
        "      --codes          the raw 16-bit codes instead of the values\n"
        "  plot ...\n"
        "      Draws spectrum files as a picture (see tulvo-cli plot --help).\n"
        "  --help\n"
        "      Shows this text.\n"
        "  --version\n"
        "      Shows the version.\n"
        "\n"
        "Exit status: 0 success, 1 a file could not be read, written or analysed,\n"
        "2 a command line error.\n",
        out);
}

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "tulvo-cli: %s\nTry 'tulvo-cli --help' for more information.\n", message.c_str());
    return ExitUsage;
}

bool IsHelpOption(const std::string& arg)
{
    return arg == "--help" || arg == "-h";
}
