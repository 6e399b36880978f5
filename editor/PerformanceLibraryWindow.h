#pragma once
// The librarian ("Library…"): a window beside the main window over the
// performance library (synth/PerformanceLibrary.h) in the data folder.
//
//   "Receive INT, EXT performances"  fetches both banks, with progress and
//                                    Cancel; a bank cut short keeps what the
//                                    library had
//   the table                        location, name, category; sorted by a
//                                    click on a heading, filtered as the user
//                                    types in the field above it
//   "Edit" (or a double-click)       the performance into the editor and to
//                                    the instrument's edit buffer, one undo step
//   "Store to INT 005…"              the editor's performance to the selected
//                                    row's location, after a confirmation
//                                    naming what it replaces; what was there
//                                    goes to the history first
//   "Import…", "Export…"             .syx files into the library; the selected
//                                    performances into one file
//   "Send all to instrument…"        every INT performance of the library
//   the history and "Restore…"       what a store replaced, put back
//
// Every command ends in a message saying what was and was not done. The
// library is read when the window is made (at start-up); a damaged file is
// put aside as .bad and reported then.
//
// Thread: the user-interface thread only.

#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>

#include "editor/EditHistory.h"
#include "synth/PerformanceLibrary.h"
#include "synth/SynthDevice.h"

class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace cs6 {

class PerformanceLibraryFilter;
class PerformanceLibraryModel;

class PerformanceLibraryWindow : public QWidget {
    Q_OBJECT

public:
    enum class Purpose { Import, Export };
    // Asks for files: several to import, one to export to. Empty: cancelled.
    using PathChooser = std::function<QStringList(QWidget* parent, Purpose purpose)>;
    // A yes/no question; true for yes.
    using Question = std::function<bool(QWidget* parent, const QString& text)>;

    // A window of its own, owned by parent (the main window). device and
    // history are not owned and must outlive it. folder holds the library.
    PerformanceLibraryWindow(QWidget* parent, SynthDevice& device, EditHistory& history,
                             const std::filesystem::path& folder);
    ~PerformanceLibraryWindow() override;

    // Shows the window in front ("Library…").
    void ShowWindow();

    // The commands, also reachable for tests.
    void OnReceive();
    void OnEdit();
    void OnStore();
    void OnImport();
    // Files of performances into the library, then a message on what was taken.
    void Import(const std::vector<std::filesystem::path>& files);
    void OnExport();
    void OnSendAll();
    void OnRestore();

    const PerformanceLibrary& Library() const { return library_; }
    QTableView* Table() const { return table_; }
    QLineEdit* Filter() const { return filter_; }
    QPushButton* StoreButton() const { return store_; }
    QListWidget* HistoryList() const { return history_; }
    // The row of the receive buttons, for more of them.
    QHBoxLayout* ReceiveRow() const { return receiveRow_; }

    // The file dialogs and question boxes (Qt's unless replaced, e.g. by a test).
    void SetPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }
    void SetQuestion(Question question) { question_ = std::move(question); }

signals:
    // A performance of the library went into the editor.
    void performanceEdited();

private:
    void Refresh();
    void FollowSelection();
    std::vector<PerformanceLocation> Selected() const;
    std::optional<PerformanceLocation> Current() const;
    // Asks again before a store without a backup.
    ConfirmWithoutBackup AskWithoutBackup(const QString& what);
    void Report(const StoreOutcome& outcome);

    SynthDevice& device_;
    EditHistory& editHistory_;
    PerformanceLibrary library_;
    PathChooser chooser_;
    Question question_;
    std::vector<HistoryEntry> entries_;

    PerformanceLibraryModel* model_;
    PerformanceLibraryFilter* proxy_;
    QHBoxLayout* receiveRow_;
    QLineEdit* filter_;
    QTableView* table_;
    QPushButton* edit_;
    QPushButton* store_;
    QPushButton* export_;
    QListWidget* history_;
    QPushButton* restore_;
};

} // namespace cs6
