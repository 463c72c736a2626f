#pragma once

#include "core/qc/UnitCheck.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <cstddef>
#include <vector>

// The check window's table shows every column of the check's table (core/qc/CheckTable.h) but
// Level margin, which is in the Level cell's tooltip.
inline constexpr int CheckColumnCount = 6;

// The role the check window's table sorts by: a key that lists a unit without the figure after
// those with it, going up.
inline constexpr int CheckSortRole = Qt::UserRole;

// The units of a check as the check window's table lists them: row r shows unit order[r].
// The cells are the check table's in Russian (the file by its name, its full path in a tooltip),
// figures with the user's decimal separator; the verdict cell tinted green for a good unit, red
// otherwise. The units and files are the window's, which outlive the model.
class TCheckTableModel : public QAbstractTableModel {
public:
    TCheckTableModel(const std::vector<TJudgedUnit>& units, const QStringList& files, std::vector<std::size_t> order,
                     QObject* parent);

    std::size_t UnitAt(int row) const { return order_.at(static_cast<std::size_t>(row)); }
    int RowOf(std::size_t unit) const { return rows_.at(unit); }

    // The text shown for unit k in a column.
    QString CellText(std::size_t k, TCheckColumn column) const;

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVariant ToolTip(std::size_t k, TCheckColumn column) const;
    QVariant SortKey(std::size_t k, TCheckColumn column) const;

    const std::vector<TJudgedUnit>& units_;
    const QStringList& files_;
    std::vector<std::size_t> order_;
    std::vector<int> rows_;
};
