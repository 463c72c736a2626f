#include "ui/TFileDialog.h"

#include "ui/TOpenDialog.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// The widgets of Qt's file dialog that the typed names and the selection live in, by the names
// Qt gives them.
QLineEdit* FileNameBox(const QFileDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QListView* FileList(const QFileDialog& dialog) { return dialog.findChild<QListView*>(QStringLiteral("listView")); }

// A selection as the file-name box takes it: one name, or several quoted names separated by
// spaces. A file in folder is written by its name, any other by its full path in the system's form.
QString SelectionText(const QStringList& files, const QString& folder)
{
    QStringList names;
    for (const QString& file : files) {
        const QFileInfo info(file);
        names << (info.absolutePath() == folder ? info.fileName() : QDir::toNativeSeparators(info.absoluteFilePath()));
    }
    if (names.size() == 1)
        return names.front();
    for (QString& name : names)
        name = QLatin1Char('"') + name + QLatin1Char('"');
    return names.join(QLatin1Char(' '));
}

// The name filters of model as it matches them on this system: whole names, case-sensitively.
QList<QRegularExpression> ListFilters(const QFileSystemModel& model)
{
    QList<QRegularExpression> filters;
    for (const QString& filter : model.nameFilters())
        filters << QRegularExpression::fromWildcard(filter, Qt::CaseSensitive);
    return filters;
}

// Whether a list with these filters shows a file of this name.
bool Listed(const QList<QRegularExpression>& filters, const QString& name)
{
    return filters.isEmpty() || std::any_of(filters.begin(), filters.end(), [&](const QRegularExpression& filter) {
               return filter.match(name).hasMatch();
           });
}

bool IsExistingFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace

TFileDialog::TFileDialog(const TOpenDialog& dialog, QWidget* owner) : QFileDialog(owner)
{
    // Qt's widgets rather than the desktop's dialog: the typed names and the restored selection
    // below work on them.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    // A single-file dialog accepts a typed name that does not exist: opening it reports the error.
    setFileMode(dialog.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    setNameFilters(dialog.NameFilters());
    if (!dialog.InitialDir.isEmpty())
        setDirectory(dialog.InitialDir);
    if (!dialog.Files.isEmpty())
        RestoreSelection(dialog.Files);

    connect(FileNameBox(*this), &QLineEdit::textChanged, this, &TFileDialog::UpdateOpenButton);
    connect(FileList(*this)->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFileDialog::UpdateOpenButton);
    UpdateOpenButton();
}

QStringList TFileDialog::PickedFiles() const { return picked_.isEmpty() ? selectedFiles() : picked_; }

QStringList TFileDialog::TypedFiles() const
{
    const QString text = FileNameBox(*this)->text();
    QStringList names;
    if (text.contains(QLatin1Char('"'))) {
        // "name1" "name2" ...: the quoted parts are the names, what lies between them is not.
        const QStringList parts = text.split(QLatin1Char('"'));
        for (qsizetype i = 1; i < parts.size() - 1; i += 2)
            if (!parts[i].isEmpty())
                names << parts[i];
    } else if (!text.isEmpty()) {
        names << text;
    }
    const QDir folder = directory();
    QStringList files;
    for (const QString& name : names)
        files << QDir::cleanPath(folder.absoluteFilePath(name));
    return files;
}

void TFileDialog::accept()
{
    const QStringList typed = TypedFiles();
    // Qt's own handling keeps what it does well: a single-file dialog, an empty box, and a typed
    // folder, which it opens.
    if (fileMode() != QFileDialog::ExistingFiles || typed.isEmpty() ||
        (typed.size() == 1 && QFileInfo(typed.front()).isDir())) {
        QFileDialog::accept();
        return;
    }
    // The list selects only the names its filter shows; the box holds every name typed.
    for (const QString& file : typed) {
        if (!IsExistingFile(file)) {
            QMessageBox::warning(this, windowTitle(),
                                 QCoreApplication::translate("QFileDialog", "%1\nFile not found.\nPlease verify the "
                                                                            "correct file name was given.")
                                     .arg(QFileInfo(file).fileName()));
            return;
        }
    }
    picked_ = typed;
    QDialog::accept();
}

void TFileDialog::RestoreSelection(const QStringList& files)
{
    // The box is filled with its signals blocked: filled normally, it selects the typed names in
    // the list one by one, which costs seconds for a few hundred files. The list is then
    // selected in one step.
    const QString folder = directory().absolutePath();
    QLineEdit* box = FileNameBox(*this);
    {
        const QSignalBlocker blocker(box);
        box->setText(SelectionText(files, folder));
    }
    QListView* list = FileList(*this);
    auto* model = qobject_cast<QFileSystemModel*>(list->model());
    if (model == nullptr)
        return;
    const QList<QRegularExpression> filters = ListFilters(*model);
    QItemSelection selection;
    for (const QString& file : files) {
        const QFileInfo info(file);
        // A file of another folder is named by its full path in the box; one the filter hides
        // is named there too, and selecting it would leave an invisible row selected.
        if (info.absolutePath() != folder || !Listed(filters, info.fileName()))
            continue;
        const QModelIndex index = model->index(info.absoluteFilePath());
        if (index.isValid())
            selection.select(index, index);
    }
    list->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TFileDialog::UpdateOpenButton()
{
    // Qt enables Open only for names its list shows; a list of typed names is open when every
    // one of them exists (a single typed folder is left to Qt, which opens it).
    if (fileMode() != QFileDialog::ExistingFiles)
        return;
    const QStringList typed = TypedFiles();
    if (typed.isEmpty() || (typed.size() == 1 && QFileInfo(typed.front()).isDir()))
        return;
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* open = buttons != nullptr ? buttons->button(QDialogButtonBox::Open) : nullptr;
    if (open != nullptr)
        open->setEnabled(std::all_of(typed.begin(), typed.end(), IsExistingFile));
}
