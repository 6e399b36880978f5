#include "editor/PerformanceFiles.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QShortcut>
#include <QUrl>

#include <memory>

#include "framework/BusyCursor.h"
#include "framework/FileIo.h"
#include "framework/TemplateDialog.h"
#include "framework/UserMessage.h"
#include "synth/StoredSounds.h"

namespace cs6 {
namespace {

namespace fs = std::filesystem;

const QString kLastFolderKey = QStringLiteral("files/lastFolder");
const QString kFilter = QStringLiteral("SysEx files (*.syx);;All files (*)");

QString DialogChooser(QWidget* parent, PerformanceFiles::Purpose purpose, const QString& suggested)
{
    if (purpose == PerformanceFiles::Purpose::Save)
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Save performance"), suggested, kFilter);
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open performance"), suggested, kFilter);
}

// Read and written where the program keeps its files, the current folder.
std::unique_ptr<QSettings> FolderSettings()
{
    return std::make_unique<QSettings>(QDir::current().absoluteFilePath(QString::fromLatin1(kFoldersFileName)),
                                       QSettings::IniFormat);
}

// The performance's name as a file name: characters a file system may refuse
// become "_", and an empty name "performance".
QString FileNameOf(const std::string& name)
{
    QString text = QString::fromLatin1(name).trimmed();
    for (QChar& c : text) {
        if (c < QChar(0x20) || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    if (text.isEmpty() || text.startsWith(u'.'))
        text.prepend(QStringLiteral("performance"));
    return text + QStringLiteral(".syx");
}

// The one local file a drag carries, or an empty path.
fs::path DraggedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().front().isLocalFile())
        return {};
    return fs::path(mime->urls().front().toLocalFile().toStdString());
}

} // namespace

void EditPerformance(SynthDevice& device, EditHistory& history, const FilePerformance& performance)
{
    history.ReplacePerformance([&] {
        BusyCursor busy;
        ApplyPerformance(device, performance);
        device.SendPerformance(bank::kStoredSoundMsb, kPerformanceEditBuffer, 0x00);
        return true;
    });
}

PerformanceFiles::PerformanceFiles(QWidget* window, SynthDevice& device, EditHistory& history)
    : QObject(window), window_(window), device_(device), history_(history), chooser_(DialogChooser)
{
    connect(new QShortcut(QKeySequence::Save, window), &QShortcut::activated, this, [this] { Save(); });
    connect(new QShortcut(QKeySequence::Open, window), &QShortcut::activated, this, [this] { Open(); });
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString PerformanceFiles::Suggested(const QString& fileName) const
{
    const QString folder = FolderSettings()->value(kLastFolderKey).toString();
    return folder.isEmpty() ? fileName : QDir(folder).filePath(fileName);
}

void PerformanceFiles::Remember(const QString& chosen)
{
    FolderSettings()->setValue(kLastFolderKey, QFileInfo(chosen).absolutePath());
}

void PerformanceFiles::Save()
{
    const TemplateDialog::HoldPostedMessages hold;
    const auto stored = device_.Read(PackAddress(block::kPerformance, common::kBlockMid, common::kName), kNameLength);
    const std::string name = StoredName(stored.data());
    QString chosen = chooser_(window_, Purpose::Save, Suggested(FileNameOf(name)));
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".syx");
    Remember(chosen);
    (void)SaveTo(fs::path(chosen.toStdString()));
}

void PerformanceFiles::Open()
{
    const TemplateDialog::HoldPostedMessages hold;
    const QString chosen = chooser_(window_, Purpose::Open, Suggested(QString()));
    if (chosen.isEmpty())
        return;
    Remember(chosen);
    (void)OpenFile(fs::path(chosen.toStdString()));
}

bool PerformanceFiles::SaveTo(const fs::path& path)
{
    try {
        SavePerformanceFile(path, device_.Memory());
    } catch (const FileError& error) {
        ShowMessageBox("The performance could not be saved in " + error.Path().string() + ": " + error.Reason() +
                       ".");
        return false;
    }
    file_ = path;
    history_.MarkInStep();
    emit currentFileChanged();
    return true;
}

bool PerformanceFiles::OpenFile(const fs::path& path)
{
    const TemplateDialog::HoldPostedMessages hold;
    PerformanceRead read = ReadPerformanceFile(path);
    if (!read.Ok()) {
        ShowMessageBox(read.error + "\n\nNothing was opened or sent to the instrument.");
        return false;
    }
    if (read.performances.size() > 1) {
        if (library_)
            library_(path, std::move(read.performances));
        else
            ShowMessageBox(path.filename().string() + " holds " + std::to_string(read.performances.size()) +
                           " performances: a library file. Open it with Library… › Import….");
        return false;
    }
    EditPerformance(device_, history_, read.performances.front());
    file_ = path;
    emit currentFileChanged();
    return true;
}

void PerformanceFiles::Forget()
{
    if (file_.empty())
        return;
    file_.clear();
    emit currentFileChanged();
}

bool PerformanceFiles::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!DraggedFile(drag->mimeData()).empty())
            drag->acceptProposedAction();
        return true;
    }
    if (watched == window_ && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const fs::path file = DraggedFile(drop->mimeData());
        if (file.empty())
            return false;
        drop->acceptProposedAction();
        // Opened once the drop is over: the drag's source waits for its end.
        QMetaObject::invokeMethod(this, [this, file] { (void)OpenFile(file); }, Qt::QueuedConnection);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace cs6
