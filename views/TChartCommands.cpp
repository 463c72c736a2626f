#include "views/TChartCommands.h"

#include "chart/TChart.h"
#include "core/files/FileReplacement.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/TErrorBoundary.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

#include <utility>

namespace {

QList<TSaveDialog::TFileType> PictureTypes()
{
    QList<TSaveDialog::TFileType> types{{QStringLiteral("Рисунок PNG (*.png)"), QStringLiteral("png")}};
    if (SvgPictureAvailable())
        types.append({QStringLiteral("Рисунок SVG (*.svg)"), QStringLiteral("svg")});
    types.append({QStringLiteral("Рисунок PDF (*.pdf)"), QStringLiteral("pdf")});
    return types;
}

} // namespace

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    const std::string local = LocalPath(path);
    // A file saved by hand is on the storage when the save is done, on every system.
    ReplaceWithBytes(ReplacementTarget(local, TReplacementKind::WindowSave),
                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     TReplacementKind::WindowSave, TFlushing::BeforeRename, local);
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
    const QString suffix = PictureDialog.Types.value(PictureDialog.TypeOfFile()).Suffix;
    const TPictureFormat format = suffix == QStringLiteral("svg")   ? TPictureFormat::Svg
                                  : suffix == QStringLiteral("pdf") ? TPictureFormat::Pdf
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
