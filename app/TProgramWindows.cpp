#include "app/TProgramWindows.h"

#include "app/TMainWindow.h"
#include "core/analysis/SpmFile.h"
#include "views/TComparisonWindow.h"

#include <utility>

namespace {

std::unique_ptr<TComparisonWindow> MakeComparison(TComparisonLayout layout, const TMainWindow& main,
                                                  const TOpenDialog& dialog)
{
    return std::make_unique<TComparisonWindow>(std::move(layout),
                                               TComparisonContext{main.Boundary(), dialog.Files, ReadSpectrum});
}

} // namespace

TProgramWindows::TProgramWindows(IDialogs& dialogs)
    : MainWindow(std::make_unique<TMainWindow>(dialogs)),
      TwoSpectraWindow(MakeComparison(TwoSpectraLayout(), *MainWindow, MainWindow->TwoSpectraDialog)),
      ThreeSpectraWindow(MakeComparison(ThreeSpectraLayout(), *MainWindow, MainWindow->ThreeSpectraDialog)),
      SixSpectraWindow(MakeComparison(SixSpectraLayout(), *MainWindow, MainWindow->SixSpectraDialog))
{
    MainWindow->SetComparisonWindows(TwoSpectraWindow.get(), ThreeSpectraWindow.get(), SixSpectraWindow.get());
}

TProgramWindows::~TProgramWindows() { MainWindow->SetComparisonWindows(nullptr, nullptr, nullptr); }
