#include "editor/PerformanceLibraryWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "editor/PerformanceFiles.h"
#include "editor/PerformanceLibraryFilter.h"
#include "editor/PerformanceLibraryModel.h"
#include "framework/FileIo.h"
#include "framework/TemplateDialog.h"
#include "framework/UserMessage.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;

const QString kFilter = QStringLiteral("SysEx files (*.syx);;All files (*)");

QStringList DialogChooser(QWidget* parent, PerformanceLibraryWindow::Purpose purpose)
{
    if (purpose == PerformanceLibraryWindow::Purpose::Import)
        return QFileDialog::getOpenFileNames(parent, QStringLiteral("Import performances"), {}, kFilter);
    const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Export performances"), {}, kFilter);
    return file.isEmpty() ? QStringList{} : QStringList{file};
}

bool BoxQuestion(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QApplication::applicationName(), text) == QMessageBox::Yes;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Naming(const FilePerformance& performance)
{
    return Text(LocationLabel(performance.location)) + " \"" + QString::fromLatin1(performance.Name()).trimmed() + "\"";
}

// A modal progress dialog over a command that runs on this thread; its
// Cancel ends the command at the next step.
class Progress {
public:
    Progress(QWidget* parent, const QString& title) : dialog_(title + QStringLiteral("..."), QStringLiteral("Cancel"), 0, 1, parent)
    {
        dialog_.setWindowTitle(title);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(0);
        dialog_.setValue(0);
    }
    ~Progress() { dialog_.reset(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // label(done) names the step under way.
    FetchProgress Callback(std::function<QString(int done)> label = {})
    {
        return [this, label = std::move(label)](int done, int total) {
            dialog_.setMaximum(total);
            if (label && done < total)
                dialog_.setLabelText(label(done));
            dialog_.setValue(done);
            QApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

private:
    QProgressDialog dialog_;
};

} // namespace

PerformanceLibraryWindow::PerformanceLibraryWindow(QWidget* parent, SynthDevice& device, EditHistory& history,
                                                   const fs::path& folder)
    : QWidget(parent, Qt::Window), device_(device), editHistory_(history), library_(folder),
      chooser_(DialogChooser), question_(BoxQuestion), model_(new PerformanceLibraryModel(this)),
      proxy_(new PerformanceLibraryFilter(model_, this)), receiveRow_(new QHBoxLayout), filter_(new QLineEdit(this)),
      table_(new QTableView(this)), edit_(new QPushButton(QStringLiteral("Edit"), this)),
      store_(new QPushButton(this)), export_(new QPushButton(QStringLiteral("Export…"), this)),
      history_(new QListWidget(this)), restore_(new QPushButton(QStringLiteral("Restore…"), this))
{
    setWindowTitle(QStringLiteral("Performance library"));
    auto* receive = new QPushButton(QStringLiteral("Receive INT, EXT performances"), this);
    receiveRow_->addWidget(receive);
    receiveRow_->addStretch();

    filter_->setPlaceholderText(QStringLiteral("Filter by location, name or category"));
    filter_->setClearButtonEnabled(true);
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(PerformanceLibraryModel::kLocationColumn, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed); // rows of one height: no measuring
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* import = new QPushButton(QStringLiteral("Import…"), this);
    auto* sendAll = new QPushButton(QStringLiteral("Send all to instrument…"), this);
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {edit_, store_, import, export_, sendAll})
        commands->addWidget(button);
    commands->addStretch();
    auto* restoreRow = new QHBoxLayout;
    restoreRow->addWidget(restore_);
    restoreRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(receiveRow_);
    layout->addWidget(filter_);
    layout->addWidget(table_, 3);
    layout->addLayout(commands);
    layout->addWidget(new QLabel(QStringLiteral("Replaced on the instrument (history):"), this));
    layout->addWidget(history_, 1);
    layout->addLayout(restoreRow);
    resize(560, 640);

    connect(receive, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnReceive);
    connect(edit_, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnEdit);
    connect(table_, &QTableView::doubleClicked, this, &PerformanceLibraryWindow::OnEdit);
    connect(store_, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnStore);
    connect(import, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnImport);
    connect(export_, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnExport);
    connect(sendAll, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnSendAll);
    connect(restore_, &QPushButton::clicked, this, &PerformanceLibraryWindow::OnRestore);
    connect(filter_, &QLineEdit::textChanged, proxy_, &PerformanceLibraryFilter::SetText);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PerformanceLibraryWindow::FollowSelection);
    connect(history_, &QListWidget::itemSelectionChanged, this, &PerformanceLibraryWindow::FollowSelection);

    const std::string problem = library_.Load();
    Refresh();
    if (!problem.empty())
        ShowMessageBox(problem);
}

PerformanceLibraryWindow::~PerformanceLibraryWindow() = default;

void PerformanceLibraryWindow::ShowWindow()
{
    show();
    raise();
    activateWindow();
}

void PerformanceLibraryWindow::Refresh()
{
    const auto current = Current();
    model_->SetPerformances(library_.Performances());
    if (current) {
        const int row = model_->RowOf(*current);
        if (row >= 0)
            table_->selectRow(proxy_->mapFromSource(model_->index(row, 0)).row());
    }
    entries_ = library_.History();
    history_->clear();
    for (const HistoryEntry& entry : entries_)
        history_->addItem(Text(entry.Describe()));
    FollowSelection();
}

void PerformanceLibraryWindow::FollowSelection()
{
    const auto current = Current();
    edit_->setEnabled(current.has_value());
    store_->setEnabled(current.has_value());
    store_->setText(current ? "Store to " + Text(LocationLabel(*current)) + "…" : QStringLiteral("Store to…"));
    export_->setEnabled(current.has_value());
    restore_->setEnabled(history_->currentRow() >= 0 && !history_->selectedItems().isEmpty());
}

std::vector<PerformanceLocation> PerformanceLibraryWindow::Selected() const
{
    std::vector<PerformanceLocation> locations;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        locations.push_back(model_->Location(proxy_->mapToSource(index).row()));
    return locations;
}

std::optional<PerformanceLocation> PerformanceLibraryWindow::Current() const
{
    const QModelIndex index = table_->selectionModel()->currentIndex();
    if (!index.isValid() || !table_->selectionModel()->isRowSelected(index.row()))
        return std::nullopt;
    return model_->Location(proxy_->mapToSource(index).row());
}

ConfirmWithoutBackup PerformanceLibraryWindow::AskWithoutBackup(const QString& what)
{
    return [this, what](const std::string& reason) {
        return question_(this, "No backup could be made: " + Text(reason) + ".\n\nStore " + what +
                                   " all the same? What the instrument holds there now would be lost.");
    };
}

void PerformanceLibraryWindow::Report(const StoreOutcome& outcome)
{
    Refresh();
    ShowMessageBox(outcome.message);
}

void PerformanceLibraryWindow::OnReceive()
{
    const TemplateDialog::HoldPostedMessages hold;
    std::array<LibraryBankReceipt, 2> receipts;
    {
        Progress progress(this, QStringLiteral("Receive INT, EXT performances"));
        receipts = library_.Receive(device_, progress.Callback([](int done) {
            return done < kIntPerformances ? QStringLiteral("Receiving INT %1...").arg(done + 1, 3, 10, QChar(u'0'))
                                           : QStringLiteral("Receiving EXT %1...")
                                                 .arg(done - kIntPerformances + 1, 2, 10, QChar(u'0'));
        }));
    }
    Refresh();
    ShowMessageBox(receipts[0].Describe() + "\n" + receipts[1].Describe());
}

void PerformanceLibraryWindow::OnEdit()
{
    const auto current = Current();
    const FilePerformance* performance = current ? library_.Find(*current) : nullptr;
    if (!performance)
        return;
    const TemplateDialog::HoldPostedMessages hold;
    EditPerformance(device_, editHistory_, *performance);
    emit performanceEdited();
}

void PerformanceLibraryWindow::OnStore()
{
    const auto current = Current();
    if (!current)
        return;
    const TemplateDialog::HoldPostedMessages hold;
    const FilePerformance edited = FilePerformance::FromMemory(device_.Memory(), *current);
    const QString where = Text(LocationLabel(*current));
    const FilePerformance* replaced = library_.Find(*current);
    const QString name = "\"" + QString::fromLatin1(edited.Name()).trimmed() + "\"";
    if (!question_(this, "Store the edited performance " + name + " to " + where + ", replacing " +
                             (replaced ? Naming(*replaced) : where) + "?\n\nWhat " + where +
                             " holds now is received first and kept in the history."))
        return;
    Progress progress(this, "Store to " + where);
    Report(library_.Store(device_, {&edited, 1}, AskWithoutBackup(name + " to " + where), progress.Callback()));
}

void PerformanceLibraryWindow::OnSendAll()
{
    const auto count = std::count_if(library_.Performances().begin(), library_.Performances().end(),
                                     [](const FilePerformance& p) { return p.location.bankLsb == bank::kIntPerf; });
    if (count == 0) {
        ShowMessageBox("The library holds no INT performance; nothing was sent.");
        return;
    }
    const TemplateDialog::HoldPostedMessages hold;
    if (!question_(this, QStringLiteral("Send the library's %1 INT performances to the instrument, each to its own "
                                        "location?\n\nWhat those locations hold now is received first and kept in "
                                        "the history.")
                             .arg(count)))
        return;
    Progress progress(this, QStringLiteral("Send all to instrument"));
    Report(library_.SendAllInt(device_, AskWithoutBackup(QStringLiteral("the INT performances")), progress.Callback()));
}

void PerformanceLibraryWindow::OnRestore()
{
    const int row = history_->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()))
        return;
    const TemplateDialog::HoldPostedMessages hold;
    const HistoryEntry entry = entries_[static_cast<std::size_t>(row)];
    if (!question_(this, "Put back " + Text(entry.what) + " as it was before " + Text(entry.when) +
                             "?\n\nWhat the instrument holds there now is received first and kept in the history."))
        return;
    Progress progress(this, QStringLiteral("Restore"));
    Report(library_.Restore(device_, entry, AskWithoutBackup(Text(entry.what)), progress.Callback()));
}

void PerformanceLibraryWindow::OnImport()
{
    const TemplateDialog::HoldPostedMessages hold;
    const QStringList chosen = chooser_(this, Purpose::Import);
    if (chosen.isEmpty())
        return;
    std::vector<fs::path> files;
    for (const QString& file : chosen)
        files.emplace_back(file.toStdString());
    Import(files);
}

void PerformanceLibraryWindow::Import(const std::vector<fs::path>& files)
{
    const ImportOutcome outcome = library_.Import(files);
    Refresh();
    std::string message = std::to_string(outcome.taken) + " performance" + (outcome.taken == 1 ? "" : "s") +
                          " taken into the library.";
    if (!outcome.saveError.empty())
        message += " " + std::string(kLibraryFileName) + " could not be written (" + outcome.saveError +
                   "); the library is as it was.";
    for (const std::string& refused : outcome.refused)
        message += "\nNot taken: " + refused;
    ShowMessageBox(message);
}

void PerformanceLibraryWindow::OnExport()
{
    const std::vector<PerformanceLocation> locations = Selected();
    if (locations.empty())
        return;
    const TemplateDialog::HoldPostedMessages hold;
    const QStringList chosen = chooser_(this, Purpose::Export);
    if (chosen.isEmpty())
        return;
    fs::path file(chosen.front().toStdString());
    if (!file.has_extension())
        file += ".syx";
    try {
        library_.Export(locations, file);
    } catch (const FileError& error) {
        ShowMessageBox("Nothing was exported: " + error.Path().string() + ": " + error.Reason() + ".");
        return;
    }
    ShowMessageBox(std::to_string(locations.size()) + " performance" + (locations.size() == 1 ? "" : "s") +
                   " exported to " + file.string() + ".");
}

} // namespace cs6
