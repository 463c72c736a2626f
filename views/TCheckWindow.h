#pragma once

#include "core/qc/ToleranceMask.h"
#include "core/qc/UnitCheck.h"
#include "plot/ChartPicture.h"
#include "plot/MaskChart.h"
#include "report/RunReport.h"
#include "ui/TSaveDialog.h"
#include "views/TCheckTableModel.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class TChart;
class TChartCommands;
class TErrorBoundary;
class TReadoutStrip;

// What a check window needs from the program around it. The boundary must outlive the window.
struct TCheckContext {
    // Catches the errors of the window's handlers and shows them in the default error box.
    const TErrorBoundary& Boundary;
};

// The check window "Проверка по допуску": units checked against a mask.
//
// At the top the summary "Проверено: N, годных: G, негодных: B" (", ошибок: E" added when some
// units could not be read), the mask's file name (its full path in a tooltip), "Сохранить таблицу
// CSV…" and "Сохранить отчёт…". Then a table of the units, a row each, with the columns "Файл" (the
// file's name, its full path in a tooltip), "Вердикт" ("годен", "не годен", or why the unit could
// not be read; the cell tinted green for a good unit, red otherwise), "Вне допуска" (lines
// outside), "Худшая линия, Гц" and "Запас, дБ" (the line of the smallest margin and that margin)
// and "Уровень, дБFS" (a recording's level; its margin in a tooltip); figures with three decimals
// and the user's decimal separator. The rows start in FailuresFirstOrder: failed units first, the
// smallest margin first, then the ones that could not be read, then the good ones as picked. A
// click on a column's header sorts the rows by that column (again: the other way round); the
// keyboard moves the selection.
//
// Below the table, a chart of the selected unit's spectrum against the mask (plot/MaskChart.h):
// the band behind the curve, the lines outside marked in red; only the band for a unit that
// could not be read. It opens on a logarithmic value axis, where limits in dB read best. The
// strip under it has the linear/logarithmic toggle and the read-out: X, Y and "Допуск = " the
// limits of the line at X in the chart's values. Zoom and panning are the chart's. Ctrl+S,
// Ctrl+C and a right click on the chart save or copy its picture or save the table
// (TChartCommands); the table saved ("Сохранить таблицу CSV…", in the menu and at the top) is
// tulvo-cli check's for the same mask and units, rows in the order picked. "Сохранить отчёт…" at
// the top writes the run's report in Russian: the bytes tulvo-cli report --lang ru --mask writes
// for the mask's file and the units' files as picked.
//
// The window is not modal, opens with the first row selected and the table in focus, and is
// deleted when closed.
class TCheckWindow : public QWidget {
    Q_OBJECT

public:
    // The client area the window opens at.
    static constexpr QSize ClientSize{800, 600};

    // units: CheckUnits of files (the picked paths, in order) against mask, read from maskPath.
    TCheckWindow(TCheckContext context, TToleranceMask mask, QString maskPath, QStringList files,
                 std::vector<TJudgedUnit> units);
    ~TCheckWindow() override;

    // What was checked: the mask and its file, the units as picked (Units()[k] is the file
    // Files()[k]) with their verdicts or failures and their spectra.
    const TToleranceMask& Mask() const { return mask_; }
    const QString& MaskPath() const { return maskPath_; }
    const QStringList& Files() const { return files_; }
    const std::vector<TJudgedUnit>& Units() const { return units_; }

    // The unit listed in row `row` of the table as it is sorted now, and the row of unit k.
    std::size_t UnitAtRow(int row) const;
    int RowOfUnit(std::size_t unit) const;
    // The unit selected in the table, whose chart is shown; nothing when no row is.
    std::optional<std::size_t> SelectedUnit() const;
    // Selects unit k's row (and shows its chart).
    void SelectUnit(std::size_t unit);

    // tulvo-cli check's table of the units (CheckTableText).
    std::string Table() const;
    // The run as tulvo-cli report --lang ru --mask reports the mask's file and the units as
    // picked: the files' digests read now, the units as judged when the window opened.
    TRunReport Report() const;
    // Asks for a file name (ReportDialog) and writes RunReportDocument of Report() to it.
    void SaveReport();
    // The chart as the window shows it.
    TChartPicture Picture() const;
    // Switches the chart's value axis between linear and logarithmic.
    void ToggleLogAxis();

    // The text the table shows for unit k in a column.
    QString CellText(std::size_t unit, TCheckColumn column) const;

    QLabel* Summary;
    QLabel* MaskLabel;
    QPushButton* SaveTableButton;
    QPushButton* SaveReportButton;
    TSaveDialog ReportDialog; // "Сохранить отчёт": "Отчёт (*.html)"
    QTableView* TableView;
    TChart* Chart;
    TMaskChartSeries Series;
    TReadoutStrip* Strip;
    QLabel* LimitsValue; // the strip's third value, after Y: the limits at X
    QPushButton* CloseButton;
    TChartCommands* Commands;

private:
    void CreateTop();
    void CreateTable();
    void CreateChart();
    void CreateStrip();
    void ShowUnit(std::optional<std::size_t> unit);
    void UpdateReadout();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TCheckContext context_;
    TToleranceMask mask_;
    QString maskPath_;
    QStringList files_;
    std::vector<TJudgedUnit> units_;
    TCheckTableModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    bool shownBefore_ = false;
};
