#pragma once

#include <string>
#include <vector>

// The `plot` command of tulvo-cli: pictures of spectrum files without a window.
//
//   tulvo-cli plot FILE.spm... -o OUT.png [--log] [--overlay] [--size WxH]
//
// Draws one chart per file, stacked from top to bottom and sharing the height
// of the picture, or with --overlay all files in one chart, in the colours of
// the comparison views (red, green, blue, purple 128,0,64, black, brown
// 128,64,0, then again from red). Each chart is the program's own chart,
// rendered on the offscreen platform: title "С П Е К Т Р  " followed by the
// file's path (one title line per file when overlaid), bottom caption "Гц",
// left labels "#,##0.#####", 361 points at 1000 + 25 i Hz with zero lines
// drawn at half the fill value (the smallest non-zero value below 1.0, else
// 1.0). --log switches the left axes to logarithmic scale. --size is the size
// of the whole picture in pixels (default 630 wide, 360 high for one chart and
// 180 per stacked chart otherwise).
//
// args are the words after "plot". Returns 0 on success, 2 after a usage error
// (message on stderr) and 1 when the picture cannot be written. A file that
// cannot be read raises the core's EInOutError (or its floating-point error),
// and a refused logarithmic switch raises EChartError; the CLI's main reports
// them. Creates an offscreen QApplication when none exists.
int RunPlotCommand(const std::vector<std::string>& args);
