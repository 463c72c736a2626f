#include "views/TCheckWindow.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "core/base/CsvText.h"
#include "plot/RunReportDocument.h"
#include "plot/SpectrumChart.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/ReadoutFormat.h"
#include "ui/TErrorBoundary.h"
#include "ui/TReadoutStrip.h"
#include "ui/WindowStyle.h"
#include "views/TChartCommands.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <utility>

namespace {

const QString ColumnTitles[CheckColumnCount] = {QStringLiteral("Файл"),        QStringLiteral("Вердикт"),
                                                QStringLiteral("Вне допуска"), QStringLiteral("Худшая линия, Гц"),
                                                QStringLiteral("Запас, дБ"),   QStringLiteral("Уровень, дБFS")};

// The verdict cell's tint: a good unit green, any other red.
const QColor GoodTint(198, 239, 206);
const QColor BadTint(255, 199, 206);

// The role the table sorts by.
constexpr int SortRole = Qt::UserRole;

// A figure as the check table has it (three decimals), with the user's decimal separator;
// empty for NaN.
QString Decimal(double value)
{
    return QString::fromStdString(FormatFixed(value, 3)).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// A sort key that lists a unit without the figure after those with it, going up.
double KeyOrLast(std::optional<double> value)
{
    return value && !std::isnan(*value) ? *value : std::numeric_limits<double>::infinity();
}

// The places of the strip's controls in a window of the design width.
const TReadoutStripDesign StripDesign{QSize(800, 72),         false,           QRect(16, 22, 75, 25),
                                      QRect(130, 24, 27, 17), QPoint(164, 26), QRect(270, 24, 27, 17),
                                      QPoint(302, 26)};
const QRect LimitsCaptionPlace(430, 24, 64, 17);
const QPoint LimitsValuePlace(499, 26);
const QRect CloseButtonPlace(705, 22, 75, 25);

// The read-out strip with the limits at X after Y: "Допуск = " at its proportional place as the
// captions of X and Y, its value at the designed distance after it, shown in the first of its
// forms (ReadoutLimitsForms) that ends ValueGap pixels before the "&Close" button.
class TCheckStrip final : public TReadoutStrip {
public:
    explicit TCheckStrip(QWidget* parent)
        : TReadoutStrip(parent, StripDesign),
          LimitsCaption(MakeStaticText(this, QStringLiteral("Допуск = "), LimitsCaptionPlace)),
          LimitsValue(MakeLabel(this, QString(), LimitsValuePlace, true)),
          CloseButton(MakeButton(this, QStringLiteral("&Close"), CloseButtonPlace))
    {
        Track(LimitsCaption);
        Track(CloseButton);
    }

    // Shows these forms of the limits; none empties the value.
    void ShowLimits(QStringList forms)
    {
        forms_ = std::move(forms);
        PlaceLimits();
    }

    QLabel* const LimitsCaption;
    QLabel* const LimitsValue;
    QPushButton* const CloseButton;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        TReadoutStrip::resizeEvent(event);
        PlaceLimits();
    }

private:
    void PlaceLimits()
    {
        const int offset = LimitsValuePlace.x() - LimitsCaptionPlace.x() - LimitsCaptionPlace.width();
        LimitsValue->move(LimitsCaption->geometry().right() + 1 + offset, LimitsValue->y());
        const int limit = CloseButton->x() - 1 - ValueGap;
        for (const QString& form : forms_) {
            SetLabelCaption(LimitsValue, form);
            if (LimitsValue->geometry().right() <= limit)
                return;
        }
        // None fits: the last, the shortest.
        SetLabelCaption(LimitsValue, forms_.isEmpty() ? QString() : forms_.back());
    }

    QStringList forms_;
};

} // namespace

// The units as the table lists them: row r shows unit order[r] of the window.
class TCheckTableModel : public QAbstractTableModel {
public:
    TCheckTableModel(const TCheckWindow& window, std::vector<std::size_t> order, QObject* parent)
        : QAbstractTableModel(parent), window_(window), order_(std::move(order)), rows_(order_.size())
    {
        for (std::size_t row = 0; row < order_.size(); ++row)
            rows_[order_[row]] = static_cast<int>(row);
    }

    std::size_t UnitAt(int row) const { return order_.at(static_cast<std::size_t>(row)); }
    int RowOf(std::size_t unit) const { return rows_.at(unit); }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(order_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : CheckColumnCount; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < CheckColumnCount)
            return ColumnTitles[section];
        return {};
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const std::size_t k = UnitAt(index.row());
        const auto column = static_cast<TCheckColumn>(index.column());
        const TCheckedUnit& unit = window_.Units()[k];
        switch (role) {
        case Qt::DisplayRole: return window_.CellText(k, column);
        case Qt::ToolTipRole: return ToolTip(k, column);
        case Qt::BackgroundRole:
            if (column == TCheckColumn::Verdict)
                return unit.Verdict && unit.Verdict->Ok ? GoodTint : BadTint;
            return {};
        case Qt::TextAlignmentRole:
            if (column == TCheckColumn::File || column == TCheckColumn::Verdict)
                return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case SortRole: return SortKey(k, column);
        default: return {};
        }
    }

private:
    QVariant ToolTip(std::size_t k, TCheckColumn column) const
    {
        const TCheckedUnit& unit = window_.Units()[k];
        switch (column) {
        case TCheckColumn::File: return window_.Files()[static_cast<qsizetype>(k)];
        case TCheckColumn::Verdict: return unit.Verdict ? QVariant() : window_.CellText(k, column);
        case TCheckColumn::Level:
            if (unit.Verdict && unit.Verdict->LevelMarginDb)
                return QStringLiteral("Запас уровня: ") + Decimal(*unit.Verdict->LevelMarginDb) + QStringLiteral(" дБ");
            return {};
        default: return {};
        }
    }

    QVariant SortKey(std::size_t k, TCheckColumn column) const
    {
        const TCheckedUnit& unit = window_.Units()[k];
        const TMaskVerdict* verdict = unit.Verdict ? &*unit.Verdict : nullptr;
        switch (column) {
        case TCheckColumn::File: return window_.CellText(k, column);
        case TCheckColumn::Verdict: return unit.Differs() ? 0 : verdict ? 2 : 1;
        case TCheckColumn::Outside: return KeyOrLast(verdict ? std::optional<double>(verdict->Outside) : std::nullopt);
        case TCheckColumn::WorstLine:
            return KeyOrLast(verdict && verdict->WorstLine
                                 ? std::optional<double>(BandLineFrequencyHz(*verdict->WorstLine))
                                 : std::nullopt);
        case TCheckColumn::Margin:
            return KeyOrLast(verdict ? std::optional<double>(verdict->WorstMarginDb) : std::nullopt);
        case TCheckColumn::Level: return KeyOrLast(verdict ? verdict->LevelDbfs : std::nullopt);
        }
        return {};
    }

    const TCheckWindow& window_;
    std::vector<std::size_t> order_;
    std::vector<int> rows_;
};

QString CheckSummaryText(const std::vector<TCheckedUnit>& units)
{
    std::size_t good = 0;
    std::size_t bad = 0;
    std::size_t failed = 0;
    for (const TCheckedUnit& unit : units) {
        if (!unit.Verdict)
            ++failed;
        else if (unit.Verdict->Ok)
            ++good;
        else
            ++bad;
    }
    QString text = QStringLiteral("Проверено: %1, годных: %2, негодных: %3").arg(units.size()).arg(good).arg(bad);
    if (failed > 0)
        text += QStringLiteral(", ошибок: %1").arg(failed);
    return text;
}

TCheckWindow::TCheckWindow(TCheckContext context, TToleranceMask mask, QString maskPath, QStringList files,
                           std::vector<TCheckedUnit> units)
    : QWidget(nullptr, Qt::Window), ReportDialog(QStringLiteral("ReportDialog"), QStringLiteral("Сохранить отчёт"),
                                                 {{QStringLiteral("Отчёт (*.html)"), QStringLiteral("html")}}),
      context_(context), mask_(std::move(mask)), maskPath_(std::move(maskPath)), files_(std::move(files)),
      units_(std::move(units))
{
    setObjectName(QStringLiteral("CheckWindow"));
    // The report is offered beside the first unit.
    if (!files_.isEmpty())
        ReportDialog.InitialDir = QFileInfo(files_.front()).absolutePath();
    setWindowTitle(QStringLiteral("Проверка по допуску"));
    setFont(DesignFont());
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window ends the program; this one only closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    CreateTop();
    CreateTable();
    CreateChart();
    CreateStrip();
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(TableView);
    split->addWidget(Chart);
    split->setStretchFactor(1, 1);
    split->setSizes({200, 300});
    column->addWidget(split, 1);
    column->addWidget(Strip);

    Commands = new TChartCommands(*this, context_.Boundary,
                                  {[] { return true; }, [this] { return Picture(); }, [this] { return Table(); },
                                   [this] { return Chart->Title()->Text().trimmed(); }});
    Commands->Attach(*Chart);
    connect(SaveTableButton, &QPushButton::clicked, Commands->SaveTableAction, &QAction::trigger);
    connect(SaveReportButton, &QPushButton::clicked, this, context_.Boundary.Guard(this, [this] { SaveReport(); }));

    resize(ClientSize);
    // Room for the limits' value too, in its shortest form of two numbers.
    setMinimumSize(Strip->MinimumWidth() +
                       QFontMetrics(LimitsValue->font()).horizontalAdvance(QStringLiteral("8.8E-08 … 8.8E-08")),
                   360);
    if (!units_.empty())
        SelectUnit(model_->UnitAt(0));
    TableView->setFocus();
}

TCheckWindow::~TCheckWindow()
{
    // The selection may change as the models go; nothing is drawn then (the boundary the
    // handler runs through may be gone already, with the window that owns the commands).
    QObject::disconnect(TableView->selectionModel(), nullptr, this, nullptr);
}

void TCheckWindow::CreateTop()
{
    auto* top = new QWidget(this);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(8, 6, 8, 6);
    Summary = new QLabel(CheckSummaryText(units_), top);
    Summary->setFont(DesignFont(true));
    // The summary is never cut; the mask's name takes the room left, its full path in the tooltip.
    Summary->setMinimumWidth(Summary->sizeHint().width());
    MaskLabel = new QLabel(QStringLiteral("Допуск: ") + QFileInfo(maskPath_).fileName(), top);
    MaskLabel->setToolTip(maskPath_);
    MaskLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    SaveTableButton = new QPushButton(QStringLiteral("Сохранить таблицу CSV…"), top);
    SaveTableButton->setAutoDefault(false);
    row->addWidget(Summary);
    row->addSpacing(16);
    row->addWidget(MaskLabel, 1);
    row->addWidget(SaveTableButton);
    SaveReportButton = new QPushButton(QStringLiteral("Сохранить отчёт…"), top);
    SaveReportButton->setAutoDefault(false);
    row->addWidget(SaveReportButton);
    static_cast<QVBoxLayout*>(layout())->addWidget(top);
}

void TCheckWindow::CreateTable()
{
    model_ = new TCheckTableModel(*this, FailuresFirstOrder(units_), this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(SortRole);
    sorted_->setSortCaseSensitivity(Qt::CaseInsensitive);
    TableView = new QTableView(this);
    TableView->setObjectName(QStringLiteral("CheckTable"));
    TableView->setModel(sorted_);
    TableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableView->setSelectionMode(QAbstractItemView::SingleSelection);
    TableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableView->setWordWrap(false);
    TableView->verticalHeader()->hide();
    TableView->verticalHeader()->setDefaultSectionSize(TableView->fontMetrics().height() + 6);
    QHeaderView* header = TableView->horizontalHeader();
    header->setHighlightSections(false);
    // The rows keep the order they were listed in until a header is clicked.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    TableView->setSortingEnabled(true);
    // Widths from the titles, not from every row: a table of thousands opens at once.
    const QFontMetrics metrics(header->font());
    for (int c = 0; c < CheckColumnCount; ++c)
        TableView->setColumnWidth(c, metrics.horizontalAdvance(ColumnTitles[c]) + 28);
    TableView->setColumnWidth(static_cast<int>(TCheckColumn::File), 170);
    TableView->setColumnWidth(static_cast<int>(TCheckColumn::Verdict), 110);
    header->setStretchLastSection(true);
    connect(TableView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            context_.Boundary.Guard(this, [this] { ShowUnit(SelectedUnit()); }));
}

void TCheckWindow::CreateChart()
{
    Chart = MakeChart(this);
    Chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    Chart->setMinimumHeight(120);
    // Limits in dB read best on a logarithmic axis: the window opens on one.
    Chart->LeftAxis()->SetLogarithmic(true);
    Series = MakeMaskChartSeries(*Chart);
    connect(Chart, &TChart::mouseMoved, this, context_.Boundary.Guard(this, [this] { UpdateReadout(); }));
}

void TCheckWindow::CreateStrip()
{
    auto* strip = new TCheckStrip(this);
    Strip = strip;
    LimitsValue = strip->LimitsValue;
    CloseButton = strip->CloseButton;
    Strip->setFixedHeight(StripDesign.Size.height());
    Strip->XValue->setToolTip(QStringLiteral("Значение по оси X"));
    Strip->YValue->setToolTip(QStringLiteral("Значение по оси Y"));
    LimitsValue->setToolTip(QStringLiteral("Нижний и верхний пределы допуска на линии X"));
    CloseButton->setIcon(OpenDoorIcon());
    Strip->LogAxisButton->setText(LogAxisCaption(Chart->LeftAxis()->Logarithmic()));
    connect(Strip->LogAxisButton, &QPushButton::clicked, this,
            context_.Boundary.Guard(this, [this] { ToggleLogAxis(); }));
    connect(CloseButton, &QPushButton::clicked, this, [this] { close(); });
}

void TCheckWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !shownBefore_) {
        CentreOnScreen(*this);
        shownBefore_ = true;
    }
    QWidget::showEvent(event);
}

std::size_t TCheckWindow::UnitAtRow(int row) const
{
    return model_->UnitAt(sorted_->mapToSource(sorted_->index(row, 0)).row());
}

int TCheckWindow::RowOfUnit(std::size_t unit) const
{
    return sorted_->mapFromSource(model_->index(model_->RowOf(unit), 0)).row();
}

std::optional<std::size_t> TCheckWindow::SelectedUnit() const
{
    const QModelIndex current = TableView->selectionModel()->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return UnitAtRow(current.row());
}

void TCheckWindow::SelectUnit(std::size_t unit)
{
    const QModelIndex index = sorted_->index(RowOfUnit(unit), 0);
    TableView->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    TableView->scrollTo(index);
}

QString TCheckWindow::CellText(std::size_t k, TCheckColumn column) const
{
    const TCheckedUnit& unit = units_.at(k);
    if (column == TCheckColumn::File)
        return QFileInfo(files_.value(static_cast<qsizetype>(k))).fileName();
    if (!unit.Verdict)
        return column == TCheckColumn::Verdict ? QString::fromStdString(unit.Failure) : QString();
    const TMaskVerdict& verdict = *unit.Verdict;
    switch (column) {
    case TCheckColumn::Verdict: return verdict.Ok ? QStringLiteral("годен") : QStringLiteral("не годен");
    case TCheckColumn::Outside: return QString::number(verdict.Outside);
    case TCheckColumn::WorstLine:
        return verdict.WorstLine ? QString::number(BandLineFrequencyHz(*verdict.WorstLine)) : QString();
    case TCheckColumn::Margin: return Decimal(verdict.WorstMarginDb);
    case TCheckColumn::Level: return verdict.LevelDbfs ? Decimal(*verdict.LevelDbfs) : QString();
    case TCheckColumn::File: break;
    }
    return {};
}

void TCheckWindow::ClearReadout()
{
    Strip->Clear();
    static_cast<TCheckStrip*>(Strip)->ShowLimits({});
}

void TCheckWindow::ShowUnit(std::optional<std::size_t> unit)
{
    ClearReadout();
    if (!unit) {
        Chart->Title()->SetText(QString());
        PlotUnitAgainstMask(mask_, nullptr, nullptr, Series);
        return;
    }
    const TCheckedUnit& checked = units_.at(*unit);
    Chart->Title()->SetText(QStringLiteral("С П Е К Т Р  ") + files_.value(static_cast<qsizetype>(*unit)));
    if (checked.Verdict)
        PlotUnitAgainstMask(mask_, &checked.Unit->Spectrum, &*checked.Verdict, Series);
    else
        PlotUnitAgainstMask(mask_, nullptr, nullptr, Series);
}

std::string TCheckWindow::Table() const { return CheckTableText(units_); }

TRunReport TCheckWindow::Report() const
{
    TRunReport report;
    report.Settings.Language = TReportLanguage::Russian;
    if (!units_.empty())
        report.Settings.Title = DefaultReportTitle(units_.front().File);
    const std::string maskFile = LocalPath(maskPath_);
    report.Mask = TReportMask{maskFile, FileDigest(maskFile), mask_};
    for (const TCheckedUnit& checked : units_) {
        TReportUnit unit;
        unit.Name = checked.File;
        unit.Digest = FileDigest(checked.File);
        unit.Unit = checked.Unit;
        unit.Failure = checked.Failure;
        report.Units.push_back(std::move(unit));
    }
    JudgeReportUnits(report);
    return report;
}

void TCheckWindow::SaveReport()
{
    if (!context_.Boundary.Dialogs().ExecuteSave(ReportDialog, this))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    const std::string document = RunReportDocument(Report());
    WriteWholeFile(ReportDialog.FileName, QByteArray(document.data(), static_cast<qsizetype>(document.size())));
}

TChartPicture TCheckWindow::Picture() const { return {Chart->size(), {{Chart, QPoint(0, 0)}}}; }

void TCheckWindow::ToggleLogAxis()
{
    ClearReadout();
    const bool logarithmic = SwitchLogAxis(*Chart);
    Strip->LogAxisButton->setText(LogAxisCaption(logarithmic));
    Chart->Redraw();
}

void TCheckWindow::UpdateReadout()
{
    double x = 0.0;
    double y = 0.0;
    Series.Curve->CursorToValues(x, y);
    Strip->ShowValues(x, y);
    const std::optional<TChartLimits> limits = MaskLimitsAt(mask_, x);
    static_cast<TCheckStrip*>(Strip)->ShowLimits(limits ? ReadoutLimitsForms(limits->Lower, limits->Upper)
                                                        : QStringList());
}
