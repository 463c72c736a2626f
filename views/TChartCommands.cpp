#include "views/TChartCommands.h"

#include "chart/TChart.h"
#include "core/TulvoErrors.h"
#include "ui/IDialogs.h"
#include "ui/TErrorBoundary.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QSaveFile>
#include <QWidget>

#include <utility>

namespace {

QList<TSaveDialog::TFileType> PictureTypes()
{
    QList<TSaveDialog::TFileType> types{{QStringLiteral("Рисунок PNG (*.png)"), QStringLiteral("png")}};
    if (SvgPictureAvailable())
        types.append({QStringLiteral("Рисунок SVG (*.svg)"), QStringLiteral("svg")});
    return types;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    // As the spectrum files: an existing file that may not be written is refused, not replaced.
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !target.isWritable())
        throw EInOutError(IoCode::AccessDenied, LocalPath(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // The path as given: "missing/../name" has no folder even though "name" would.
        const bool folderExists = QFileInfo(QFileInfo(path).path()).isDir();
        throw EInOutError(folderExists ? IoCode::AccessDenied : IoCode::FileNotFound, LocalPath(path));
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw EInOutError(IoCode::DiskFull, LocalPath(path));
    }
    if (!file.commit())
        throw EInOutError(file.error() == QFileDevice::WriteError ? IoCode::DiskFull : IoCode::AccessDenied,
                          LocalPath(path));
}

TChartCommands::TChartCommands(QWidget& window, const TErrorBoundary& boundary, TChartCommandSource source)
    : QObject(&window),
      PictureDialog(QStringLiteral("PictureDialog"), QStringLiteral("Сохранить рисунок"), PictureTypes()),
      TableDialog(QStringLiteral("TableDialog"), QStringLiteral("Сохранить таблицу CSV"),
                  {{QStringLiteral("Таблица CSV (*.csv)"), QStringLiteral("csv")}}),
      SavePictureAction(new QAction(QStringLiteral("Сохранить рисунок…"), &window)),
      CopyPictureAction(new QAction(QStringLiteral("Копировать рисунок"), &window)),
      SaveTableAction(new QAction(QStringLiteral("Сохранить таблицу CSV…"), &window)), Menu(new QMenu(&window)),
      window_(window), boundary_(boundary), source_(std::move(source))
{
    SavePictureAction->setShortcut(QKeySequence::Save);
    CopyPictureAction->setShortcut(QKeySequence::Copy);
    for (QAction* action : {SavePictureAction, CopyPictureAction, SaveTableAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
        Menu->addAction(action);
    }
    Menu->setObjectName(QStringLiteral("ChartMenu"));
    connect(SavePictureAction, &QAction::triggered, this, boundary_.Guard(&window_, [this] { SavePicture(); }));
    connect(CopyPictureAction, &QAction::triggered, this, boundary_.Guard(&window_, [this] { CopyPicture(); }));
    connect(SaveTableAction, &QAction::triggered, this, boundary_.Guard(&window_, [this] { SaveTable(); }));
}

void TChartCommands::Attach(TChart& chart)
{
    connect(&chart, &TChart::rightClicked, this,
            [this](QPoint globalPosition) { boundary_.Run(&window_, [&] { PopUpMenu(globalPosition); }); });
}

void TChartCommands::PopUpMenu(QPoint globalPosition)
{
    if (source_.Showing())
        Menu->popup(globalPosition);
}

void TChartCommands::SavePicture()
{
    if (!source_.Showing() || !boundary_.Dialogs().ExecuteSave(PictureDialog, &window_))
        return;
    const TPictureFormat format = PictureDialog.Types.value(PictureDialog.TypeOfFile()).Suffix == QStringLiteral("svg")
                                      ? TPictureFormat::Svg
                                      : TPictureFormat::Png;
    WriteWholeFile(PictureDialog.FileName, PictureFileBytes(source_.Picture(), format, source_.Title()));
}

void TChartCommands::CopyPicture()
{
    if (source_.Showing())
        QGuiApplication::clipboard()->setImage(PictureImage(source_.Picture()));
}

void TChartCommands::SaveTable()
{
    if (!source_.Showing() || !boundary_.Dialogs().ExecuteSave(TableDialog, &window_))
        return;
    const std::string table = source_.Table();
    WriteWholeFile(TableDialog.FileName, QByteArray(table.data(), static_cast<qsizetype>(table.size())));
}
