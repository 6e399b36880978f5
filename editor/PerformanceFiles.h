#pragma once
// The main window's performance files (.syx): "Save…" (Ctrl+S), "Open…"
// (Ctrl+O), a file dropped on the window and the file named on the command
// line.
//
// Saving writes the performance in the memory as the 34 messages "Transmit"
// sends, through a temporary file; the performance then counts as in step.
// Opening reads and checks the whole file before anything changes: a file it
// refuses gets a message naming the file and the fault, and nothing is applied
// or sent. A file of one performance replaces the performance in the memory
// as one undo step (its undo writes back the one before and transmits it) and
// goes to the instrument as "Transmit" sends it. A file of several
// performances goes to the library (SetLibraryHandler).
//
// The folder of the last file chosen is kept in the data folder
// (kFoldersFileName) and offered next time.
//
// Thread: the user-interface thread only.

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <vector>

#include "editor/EditHistory.h"
#include "synth/PerformanceFile.h"
#include "synth/SynthDevice.h"

class QWidget;

namespace cs6 {

// One performance into the memory and to the instrument's edit buffer as
// "Transmit" sends it, as one undo step (its undo writes back the one before
// and transmits it). For a file opened and a performance of the library.
void EditPerformance(SynthDevice& device, EditHistory& history, const FilePerformance& performance);

// The settings file, in the data folder, that holds the last folder used.
inline constexpr const char* kFoldersFileName = "cs6edit.ini";

class PerformanceFiles : public QObject {
    Q_OBJECT

public:
    enum class Purpose { Save, Open };
    // Asks the user for a file: suggested is where to start. Returns the path
    // chosen, or an empty one when the user cancelled.
    using PathChooser = std::function<QString(QWidget* parent, Purpose purpose, const QString& suggested)>;
    // Takes a file of several performances, already checked.
    using LibraryHandler =
        std::function<void(const std::filesystem::path& file, std::vector<FilePerformance> performances)>;

    // window is the parent of the dialogs and boxes; it takes the drops and
    // the keys. device and history are not owned and must outlive this.
    PerformanceFiles(QWidget* window, SynthDevice& device, EditHistory& history);

    // Save… and Open…: the file dialog, then SaveTo or OpenFile.
    void Save();
    void Open();
    // False (after a message box) when the file could not be written.
    bool SaveTo(const std::filesystem::path& path);
    // False (after a message box) when nothing was applied.
    bool OpenFile(const std::filesystem::path& path);

    // The file last opened or saved; empty when the performance came from
    // elsewhere (Forget).
    const std::filesystem::path& CurrentFile() const { return file_; }
    // The performance is no longer the file's (a request, "Init Perf").
    void Forget();

    // The file dialogs (QFileDialog unless replaced, e.g. by a test).
    void SetPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }
    void SetLibraryHandler(LibraryHandler handler) { library_ = std::move(handler); }

signals:
    void currentFileChanged();

protected:
    // Drops of .syx files on the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Suggested(const QString& fileName) const;
    void Remember(const QString& chosen);

    QWidget* window_;
    SynthDevice& device_;
    EditHistory& history_;
    PathChooser chooser_;
    LibraryHandler library_;
    std::filesystem::path file_;
};

} // namespace cs6
