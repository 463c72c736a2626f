#include "views/TCheckTableModel.h"

#include <QColor>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The verdict cell's tint: a good unit green, any other red.
const QColor GoodTint(198, 239, 206);
const QColor BadTint(255, 199, 206);

// A cell of the check table with the user's decimal separator.
QString Localised(const std::string& cell)
{
    return QString::fromStdString(cell).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// A sort key that lists a unit without the figure after those with it, going up.
double KeyOrLast(std::optional<double> value)
{
    return value && !std::isnan(*value) ? *value : std::numeric_limits<double>::infinity();
}

} // namespace

TCheckTableModel::TCheckTableModel(const std::vector<TJudgedUnit>& units, const QStringList& files,
                                   std::vector<std::size_t> order, QObject* parent)
    : QAbstractTableModel(parent), units_(units), files_(files), order_(std::move(order)), rows_(order_.size())
{
    for (std::size_t row = 0; row < order_.size(); ++row)
        rows_[order_[row]] = static_cast<int>(row);
}

QString TCheckTableModel::CellText(std::size_t k, TCheckColumn column) const
{
    if (column == TCheckColumn::File)
        return QFileInfo(files_.value(static_cast<qsizetype>(k))).fileName();
    const TJudgedUnit& unit = units_.at(k);
    const TMaskVerdict* verdict = unit.Verdict ? &*unit.Verdict : nullptr;
    const std::string cell = CheckCell(verdict, unit.Failure, column, TLanguage::Russian);
    return verdict ? Localised(cell) : QString::fromStdString(cell);
}

int TCheckTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int TCheckTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : CheckColumnCount; }

QVariant TCheckTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < CheckColumnCount)
        return QString::fromUtf8(CheckColumnTitle(static_cast<TCheckColumn>(section), TLanguage::Russian));
    return {};
}

QVariant TCheckTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const std::size_t k = UnitAt(index.row());
    const auto column = static_cast<TCheckColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole: return CellText(k, column);
    case Qt::ToolTipRole: return ToolTip(k, column);
    case Qt::BackgroundRole:
        if (column == TCheckColumn::Verdict)
            return units_[k].Verdict && units_[k].Verdict->Ok ? GoodTint : BadTint;
        return {};
    case Qt::TextAlignmentRole:
        if (column == TCheckColumn::File || column == TCheckColumn::Verdict)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case CheckSortRole: return SortKey(k, column);
    default: return {};
    }
}

QVariant TCheckTableModel::ToolTip(std::size_t k, TCheckColumn column) const
{
    const TJudgedUnit& unit = units_[k];
    switch (column) {
    case TCheckColumn::File: return files_[static_cast<qsizetype>(k)];
    case TCheckColumn::Verdict: return unit.Verdict ? QVariant() : CellText(k, column);
    case TCheckColumn::Level:
        if (unit.Verdict && unit.Verdict->LevelMarginDb)
            return QStringLiteral("Запас уровня: ") + CellText(k, TCheckColumn::LevelMargin) + QStringLiteral(" дБ");
        return {};
    default: return {};
    }
}

QVariant TCheckTableModel::SortKey(std::size_t k, TCheckColumn column) const
{
    const TJudgedUnit& unit = units_[k];
    const TMaskVerdict* verdict = unit.Verdict ? &*unit.Verdict : nullptr;
    switch (column) {
    case TCheckColumn::File: return CellText(k, column);
    case TCheckColumn::Verdict: return unit.Differs() ? 0 : verdict ? 2 : 1;
    case TCheckColumn::Outside: return KeyOrLast(verdict ? std::optional<double>(verdict->Outside) : std::nullopt);
    case TCheckColumn::Worst:
        return KeyOrLast(verdict && verdict->WorstLine ? std::optional<double>(BandLineFrequencyHz(*verdict->WorstLine))
                                                       : std::nullopt);
    case TCheckColumn::Margin: return KeyOrLast(verdict ? std::optional<double>(verdict->WorstMarginDb) : std::nullopt);
    case TCheckColumn::Level: return KeyOrLast(verdict ? verdict->LevelDbfs : std::nullopt);
    case TCheckColumn::LevelMargin: return KeyOrLast(verdict ? verdict->LevelMarginDb : std::nullopt);
    }
    return {};
}
