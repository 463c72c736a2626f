#include "cli/ProgressDisplay.h"

#include "cli/ToolMessages.h"
#include "core/platform/Interruption.h"

namespace {
constexpr std::size_t BarWidth = 40;
}

TProgressDisplay::TProgressDisplay(const TToolContext& context, TVerbosity verbosity)
    : context_(context), verbosity_(verbosity)
{}

void TProgressDisplay::Step(const TBatchItem& item, std::size_t done, std::size_t total)
{
    if (!item.Ok) {
        Error(ErrorLine(item.ErrorPath, FailureMessage(item), item.ErrorCode, item.SystemError));
    } else if (verbosity_ == TVerbosity::Verbose) {
        ClearBar();
        const char* what = item.Status == TBatchStatus::Skipped ? "up to date" : "written";
        WriteToErr(context_, std::string(ToolName) + ": [" + std::to_string(done) + "/" + std::to_string(total) + "] " +
                                 item.SpectrumPath + ": " + what + "\n");
    }
    if (context_.ErrIsTerminal && verbosity_ != TVerbosity::Quiet) {
        DrawBar(done, total);
    }
}

void TProgressDisplay::Error(const std::string& line)
{
    ClearBar();
    WriteToErr(context_, line);
}

void TProgressDisplay::ClearBar()
{
    if (barShown_) {
        WriteToErr(context_, "\r\033[K");
        barShown_ = false;
    }
}

void TProgressDisplay::DrawBar(std::size_t done, std::size_t total)
{
    const std::size_t filled = total == 0 ? BarWidth : done * BarWidth / total;
    std::string bar = "\r[";
    bar.append(filled, '#');
    bar.append(BarWidth - filled, '.');
    bar += "] " + std::to_string(done) + "/" + std::to_string(total);
    WriteToErr(context_, bar);
    barShown_ = true;
}

void TProgressDisplay::Finish()
{
    if (barShown_) {
        WriteToErr(context_, "\n");
        barShown_ = false;
    }
}

std::string BatchSummaryLine(std::size_t total, std::size_t written, std::size_t skipped, std::size_t failed,
                             int signal)
{
    std::string line = std::string(ToolName) + ": " + std::to_string(total) +
                       (total == 1 ? " recording: " : " recordings: ") + std::to_string(written) + " written, " +
                       std::to_string(failed) + " failed";
    if (skipped > 0) {
        line += ", " + std::to_string(skipped) + " skipped";
    }
    const std::size_t done = written + skipped + failed;
    if (done < total) {
        line += ", " + std::to_string(total - done) + " not done";
    }
    if (signal != 0) {
        line += "; stopped by " + Platform::StopRequestName(signal);
    }
    return line + "\n";
}
