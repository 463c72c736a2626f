#include "cli/ProgressDisplay.h"

#include "core/TulvoErrors.h"

#include <string>

namespace {
constexpr int BarWidth = 40;
}

void PrintRecordingError(const std::string& path, const std::string& message)
{
    const std::string text = path + ": " + ErrorBoxText(message) + "\n";
    std::fputs(text.c_str(), stderr);
}

TProgressDisplay::TProgressDisplay(bool terminal) : Terminal(terminal) {}

void TProgressDisplay::Step(const TBatchItem& item, std::size_t done, std::size_t total)
{
    if (!item.Ok) {
        if (BarShown) {
            std::fputs("\r\033[K", stdout); // the error gets a line of its own
            std::fflush(stdout);
        }
        PrintRecordingError(item.RecordingPath, item.ErrorText);
    }
    if (Terminal) {
        DrawBar(done, total);
    } else if (item.Ok) {
        std::printf("%zu/%zu %s\n", done, total, item.SpectrumPath.c_str());
    }
}

void TProgressDisplay::DrawBar(std::size_t done, std::size_t total)
{
    const int filled = total == 0 ? BarWidth : static_cast<int>(done * BarWidth / total);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(BarWidth - filled), '.');
    std::printf("\r[%s] %zu/%zu", bar.c_str(), done, total);
    std::fflush(stdout);
    BarShown = true;
}

void TProgressDisplay::Finish()
{
    if (BarShown) {
        std::fputs("\n", stdout);
        BarShown = false;
    }
    std::fflush(stdout);
}
