#pragma once

#include "plot/ChartPicture.h"
#include "ui/TSaveDialog.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;
class TChart;
class TErrorBoundary;

// What a window's chart commands work on, asked for when a command runs.
struct TChartCommandSource {
    // Whether the window shows a chart now; the commands do nothing while it does not.
    std::function<bool()> Showing;
    // The chart area as the window shows it now.
    std::function<TChartPicture()> Picture;
    // The data of the charts shown, as a CSV table.
    std::function<std::string()> Table;
    // The title an SVG picture carries.
    std::function<QString()> Title;
};

// The commands that keep what a window's charts show: "Сохранить рисунок…" (Ctrl+S), a PNG, SVG
// (where this build writes it) or PDF file of the chart area; "Копировать рисунок" (Ctrl+C), the same picture on the
// clipboard; "Сохранить таблицу CSV…", the charts' data. The shortcuts work anywhere in the
// window; a right click on an attached chart opens the three as a context menu. A file is
// written whole or not at all: an older file of the name stays as it was when the write fails,
// and the error box names the file. Each save dialog remembers its folder and type.
class TChartCommands : public QObject {
    Q_OBJECT

public:
    TChartCommands(QWidget& window, const TErrorBoundary& boundary, TChartCommandSource source);

    // The chart's right click opens the context menu where the click was.
    void Attach(TChart& chart);

    void SavePicture();
    void CopyPicture();
    void SaveTable();
    // Opens the context menu at `globalPosition` without waiting for it to close.
    void PopUpMenu(QPoint globalPosition);

    TSaveDialog PictureDialog; // "Сохранить рисунок": PNG, then SVG where this build writes it, then PDF
    TSaveDialog TableDialog;   // "Сохранить таблицу CSV"
    QAction* SavePictureAction;
    QAction* CopyPictureAction;
    QAction* SaveTableAction;
    QMenu* Menu;

private:
    QWidget& window_;
    const TErrorBoundary& boundary_;
    TChartCommandSource source_;
};

// Writes `bytes` as the file `path`, replacing a file of that name only by the whole new one,
// flushed to the storage before it takes the name (core/files/FileReplacement.h, kind WindowSave,
// TFlushing::BeforeRename): a symbolic link is written through, a read-only file or a folder is
// refused with code 5 ("File access denied") before anything is written, and on a failure the
// file is left as it was and EInOutError naming `path` is raised with the system's error.
void WriteWholeFile(const QString& path, const QByteArray& bytes);
