#include "views/TMaskCommands.h"

#include "core/base/TulvoErrors.h"
#include "core/batch/UnitInput.h"
#include "core/files/ErrorMessages.h"
#include "core/qc/MaskFile.h"
#include "core/qc/MaskLearning.h"
#include "core/qc/UnitCheck.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/TErrorBoundary.h"
#include "views/TChartCommands.h"
#include "views/TCheckWindow.h"

#include "TulvoVersion.h"

#include <QEvent>
#include <QFileInfo>
#include <QWidget>

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

// Spectrum files and recordings together first, then each alone.
QList<TOpenDialog::TFilter> UnitFilters()
{
    return {{QStringLiteral("Файлы спектра и данных"), QStringLiteral("*.spm *.wav")},
            {QStringLiteral("Файл спектра"), QStringLiteral("*.spm")},
            {QStringLiteral("Файлы данных"), QStringLiteral("*.wav")}};
}

const QString MaskFilterName = QStringLiteral("Допуск");
const QString MaskPattern = QStringLiteral("*.csv");

// The picked files as the Qt-free code names them. Refuses a name that is neither a spectrum
// file nor a recording, naming it.
std::vector<std::string> UnitPaths(const QStringList& files)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        paths.push_back(LocalPath(file));
        if (!UnitSourceOf(paths.back()))
            throw EContentError(std::string(NotAUnitText), paths.back());
    }
    return paths;
}

// The progress display from its making to its end, which comes on every way out.
class TProgressShown {
public:
    TProgressShown(const TMaskContext& context, std::size_t count) : context_(context)
    {
        if (context_.StartProgress)
            context_.StartProgress(static_cast<int>(count));
    }
    ~TProgressShown()
    {
        if (context_.EndProgress)
            context_.EndProgress();
    }
    TProgressShown(const TProgressShown&) = delete;
    TProgressShown& operator=(const TProgressShown&) = delete;

    void Advance() const
    {
        if (context_.AdvanceProgress)
            context_.AdvanceProgress();
    }

private:
    const TMaskContext& context_;
};

// The default error box for a unit that cannot be read: why, in tulvo-cli's words, and the
// file.
TMessageBox UnitFailureBox(const QString& file, const std::exception_ptr& failure)
{
    TMessageBox box;
    box.Icon = QMessageBox::Critical;
    box.Caption = QString::fromLatin1(ApplicationTitle);
    box.Text = QString::fromStdString(ErrorBoxText(FailureText(failure)));
    box.Button = QStringLiteral("OK");
    box.InformativeText = file;
    return box;
}

// Adds the unit `file` to raw when it is a recording analysed although its header check failed.
void AddRawUnit(std::vector<TRawUnit>& raw, const QString& file, const std::optional<TWavHeaderVerdict>& header)
{
    if (header && !header->Conforms)
        raw.push_back({QFileInfo(file).fileName(), header->Differences});
}

} // namespace

TMaskCommands::TMaskCommands(QWidget& window, TMaskContext context)
    : QObject(&window), MaskUnitsDialog(QStringLiteral("MaskUnitsDialog"), UnitFilters(), true),
      MaskSaveDialog(
          QStringLiteral("MaskSaveDialog"), QStringLiteral("Сохранить допуск"),
          {{MaskFilterName + QStringLiteral(" (") + MaskPattern + QStringLiteral(")"), QStringLiteral("csv")}}),
      MaskDialog(QStringLiteral("MaskDialog"), MaskFilterName, MaskPattern, false),
      CheckUnitsDialog(QStringLiteral("CheckUnitsDialog"), UnitFilters(), true), window_(window),
      context_(std::move(context))
{
    window_.installEventFilter(this);
}

TMaskCommands::~TMaskCommands()
{
    for (const QPointer<TCheckWindow>& checkWindow : windows_)
        delete checkWindow.data();
}

bool TMaskCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::Close)
        CloseCheckWindows();
    return QObject::eventFilter(watched, event);
}

std::vector<TCheckWindow*> TMaskCommands::CheckWindows() const
{
    std::vector<TCheckWindow*> open;
    for (const QPointer<TCheckWindow>& checkWindow : windows_)
        if (checkWindow)
            open.push_back(checkWindow.data());
    return open;
}

void TMaskCommands::CloseCheckWindows()
{
    for (TCheckWindow* checkWindow : CheckWindows())
        checkWindow->close();
}

void TMaskCommands::CreateMask()
{
    IDialogs& dialogs = context_.Boundary.Dialogs();
    if (!dialogs.Execute(MaskUnitsDialog, &window_))
        return;
    const QStringList files = MaskUnitsDialog.Files;
    const std::vector<std::string> paths = UnitPaths(files);
    if (paths.size() < MinimumMaskUnits)
        throw std::invalid_argument(TooFewMaskUnitsText(paths.size()));
    // A first mask is offered beside its units.
    if (MaskSaveDialog.InitialDir.isEmpty())
        MaskSaveDialog.InitialDir = MaskUnitsDialog.InitialDir;
    if (!dialogs.ExecuteSave(MaskSaveDialog, &window_))
        return;
    const QString maskFile = MaskSaveDialog.FileName;
    if (const auto refusal = MaskOverwriteRefusal(LocalPath(maskFile), paths))
        throw std::invalid_argument(*refusal);

    std::vector<TRawUnit> raw;
    std::optional<qsizetype> failed;
    std::exception_ptr failure;
    TLearnedMask learned;
    {
        const TProgressShown progress(context_, paths.size());
        learned = LearnMask(paths, TMaskOptions{}, {}, 0, TulvoVersion,
                            [&](std::size_t index, const TUnitOutcome& outcome) {
                                const auto k = static_cast<qsizetype>(index);
                                if (outcome.Error) {
                                    failed = k;
                                    failure = outcome.Error;
                                    return false;
                                }
                                AddRawUnit(raw, files[k], outcome.Unit->Header);
                                progress.Advance();
                                return true;
                            });
    }
    if (failed) {
        dialogs.Show(UnitFailureBox(files[*failed], failure), &window_);
        return;
    }

    const std::string text = MaskFileText(*learned.Mask);
    WriteWholeFile(maskFile, QByteArray(text.data(), static_cast<qsizetype>(text.size())));

    if (!learned.Warnings.empty()) {
        QStringList lines;
        for (const std::string& warning : learned.Warnings)
            lines << QString::fromStdString(ErrorBoxText(warning));
        dialogs.Show({QMessageBox::Warning, QString::fromLatin1(ApplicationTitle), lines.join(QLatin1Char('\n')),
                      QStringLiteral("OK"), maskFile},
                     &window_);
    }
    if (!raw.empty() && context_.WarnOfRawUnits)
        context_.WarnOfRawUnits(raw);
}

void TMaskCommands::CheckUnits()
{
    IDialogs& dialogs = context_.Boundary.Dialogs();
    if (!dialogs.Execute(MaskDialog, &window_))
        return;
    const QString maskFile = MaskDialog.FileName;
    TToleranceMask mask = ReadMaskFile(LocalPath(maskFile));
    if (!dialogs.Execute(CheckUnitsDialog, &window_))
        return;
    const QStringList files = CheckUnitsDialog.Files;
    const std::vector<std::string> paths = UnitPaths(files);

    std::vector<TJudgedUnit> units;
    {
        const TProgressShown progress(context_, paths.size());
        units = ::CheckUnits(mask, paths, {}, 0, [&](std::size_t) { progress.Advance(); });
    }
    std::vector<TRawUnit> raw;
    for (std::size_t k = 0; k < units.size(); ++k)
        if (units[k].Unit)
            AddRawUnit(raw, files[static_cast<qsizetype>(k)], units[k].Unit->Header);

    auto* checkWindow = new TCheckWindow({context_.Boundary}, std::move(mask), maskFile, files, std::move(units));
    std::erase_if(windows_, [](const QPointer<TCheckWindow>& closed) { return closed.isNull(); });
    windows_.emplace_back(checkWindow);
    checkWindow->show();
    emit checkWindowOpened(checkWindow);
    if (!raw.empty() && context_.WarnOfRawUnits)
        context_.WarnOfRawUnits(raw);
}
