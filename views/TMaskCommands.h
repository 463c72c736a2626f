#pragma once

#include "core/analysis/WavHeader.h"
#include "ui/TOpenDialog.h"
#include "ui/TSaveDialog.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QWidget;
class TCheckWindow;
class TErrorBoundary;

// A recording read as a unit although its header check failed (analysed as raw samples): its
// file name and what differs.
struct TRawUnit {
    QString FileName;
    std::vector<TWavDifference> Differences;
};

// What the mask commands need from the window whose menu runs them.
struct TMaskContext {
    // Catches the errors of the commands and shows them in the default error box; the dialogs.
    const TErrorBoundary& Boundary;
    // The batch's progress display: shown for a count of units, advanced by one after each unit
    // read, taken away when the reading ends (also when it fails).
    std::function<void(int count)> StartProgress;
    std::function<void()> AdvanceProgress;
    std::function<void()> EndProgress;
    // The batch's warning of recordings analysed as raw samples, for a list that is not empty.
    std::function<void(const std::vector<TRawUnit>&)> WarnOfRawUnits;
};

// The commands of the menu "&Допуск":
//
// "&Создать допуск…" (CreateMask): the good units picked in an open dialog (spectrum files and
// recordings), then the mask's name in a save dialog "Сохранить допуск" ("Допуск (*.csv)"); the
// mask is learned with tulvo-cli mask's defaults and written (whole or not at all) as that
// command writes it: the same bytes for the same units. Refused with the error box, before
// anything is written: fewer than MinimumMaskUnits units, a name that is neither a spectrum file
// nor a recording, a mask that would overwrite one of its units, and a unit that cannot be read
// (the box names it, and reading stops there). A mask from fewer than RoughMaskUnits units, or
// from recordings and spectrum files mixed, is written, then the command's warnings show in a
// message box.
//
// "&Проверить по допуску…" (CheckUnits): the mask picked in an open dialog ("Допуск (*.csv)") and
// read (a mask that cannot be read: the error box with tulvo-cli check's message), then the units
// picked in another, read and checked, and a check window (TCheckWindow) opens over them. Units
// that cannot be read are listed with their failure.
//
// Units are read on worker threads in memory (recordings analysed as batch would, nothing written
// beside them) under the context's progress display. Every dialog remembers its folder and its
// picked files; the mask's save dialog opens in the units' folder the first time. There is no
// limit to the units' count. Check windows are not modal; closing the window the commands belong
// to closes them, and they are deleted with the commands.
class TMaskCommands : public QObject {
    Q_OBJECT

public:
    TMaskCommands(QWidget& window, TMaskContext context);
    ~TMaskCommands() override;

    void CreateMask();
    void CheckUnits();

    // The check windows open now, oldest first.
    std::vector<TCheckWindow*> CheckWindows() const;
    void CloseCheckWindows();

    TOpenDialog MaskUnitsDialog;  // the good units of a new mask
    TSaveDialog MaskSaveDialog;   // "Сохранить допуск"
    TOpenDialog MaskDialog;       // the mask to check by
    TOpenDialog CheckUnitsDialog; // the units to check

signals:
    // A check window has opened.
    void checkWindowOpened(TCheckWindow* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    TMaskContext context_;
    std::vector<QPointer<TCheckWindow>> windows_;
};
