#include "editor/EditHistory.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

#include <algorithm>
#include <utility>

#include "framework/BusyCursor.h"
#include "framework/TemplateDialog.h"
#include "synth/BulkSequences.h"

namespace cs6 {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kParameterEditId = 1;

QList<QKeySequence> RedoKeys()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    if (!keys.contains(ctrlY))
        keys.append(ctrlY);
    return keys;
}

// A line edit takes Ctrl+Z for undoing its own text; in an editor window the
// keys belong to the history.
class HistoryKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QKeySequence pressed(key->keyCombination());
            if (QKeySequence::keyBindings(QKeySequence::Undo).contains(pressed) || RedoKeys().contains(pressed))
                return true; // not taken: the window's shortcut runs
        }
        return QObject::eventFilter(watched, event);
    }
};

struct RecordedWrite {
    std::uint32_t address;
    bool eachByte;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
};

void Apply(SynthDevice& device, const RecordedWrite& write, const std::vector<std::uint8_t>& bytes)
{
    if (write.eachByte)
        device.EditEachByte(write.address, bytes);
    else
        device.Edit(write.address, bytes);
}

// An edit of parameters: its first redo is the edit itself.
class ParameterEdit : public QUndoCommand {
public:
    ParameterEdit(SynthDevice& device, const void* control, EditGesture gesture, int epoch,
                  std::vector<ParameterWrite> writes)
        : device_(device), control_(control), gesture_(gesture), epoch_(epoch), last_(Clock::now())
    {
        writes_.reserve(writes.size());
        for (ParameterWrite& write : writes)
            writes_.push_back({write.address, write.eachByte, {}, std::move(write.bytes)});
    }

    int id() const override { return kParameterEditId; }

    void redo() override
    {
        for (RecordedWrite& write : writes_) {
            if (write.before.empty()) {
                const auto now = device_.Read(write.address, write.after.size());
                write.before.assign(now.begin(), now.end());
            }
            Apply(device_, write, write.after);
        }
    }

    // Each address once, in the order of the edit, with its bytes from
    // before the first write to it.
    void undo() override
    {
        for (auto write = writes_.begin(); write != writes_.end(); ++write) {
            const bool seen = std::any_of(writes_.begin(), write,
                                          [write](const RecordedWrite& w) { return w.address == write->address; });
            if (!seen)
                Apply(device_, *write, write->before);
        }
    }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto& next = static_cast<const ParameterEdit&>(*other);
        // A drag's steps join the drag under way; a new drag starts a step.
        const bool continues = next.gesture_ == EditGesture::Moving
                                   ? gesture_ == EditGesture::Moving
                                   : gesture_ == EditGesture::Moving || next.last_ - last_ < kJoinPause;
        const bool joins = next.control_ == control_ && next.epoch_ == epoch_ && gesture_ != EditGesture::Single &&
                           next.gesture_ != EditGesture::Single && continues &&
                           std::equal(writes_.begin(), writes_.end(), next.writes_.begin(), next.writes_.end(),
                                      [](const RecordedWrite& a, const RecordedWrite& b) {
                                          return a.address == b.address && a.after.size() == b.after.size();
                                      });
        if (!joins)
            return false;
        for (std::size_t i = 0; i < writes_.size(); ++i)
            writes_[i].after = next.writes_[i].after;
        gesture_ = next.gesture_;
        last_ = next.last_;
        return true;
    }

private:
    SynthDevice& device_;
    const void* control_;
    EditGesture gesture_;
    int epoch_;
    Clock::time_point last_;
    std::vector<RecordedWrite> writes_;
};

// The performance replaced as a whole. Pushed after the replacement, so the
// first redo does nothing; later ones and undo write an image and transmit it.
class PerformanceReplacement : public QUndoCommand {
public:
    PerformanceReplacement(SynthDevice& device, std::vector<std::uint8_t> before, std::vector<std::uint8_t> after)
        : device_(device), before_(std::move(before)), after_(std::move(after))
    {
    }

    void redo() override
    {
        if (!std::exchange(pushed_, false))
            Transmit(after_);
    }
    void undo() override { Transmit(before_); }

private:
    void Transmit(const std::vector<std::uint8_t>& image)
    {
        BusyCursor busy;
        device_.WriteRegion(BulkRegion(DumpType::Performance), image);
        device_.SendPerformance(bank::kStoredSoundMsb, kPerformanceEditBuffer, 0x00);
    }

    SynthDevice& device_;
    std::vector<std::uint8_t> before_;
    std::vector<std::uint8_t> after_;
    bool pushed_ = true;
};

std::vector<std::uint8_t> PerformanceImage(const SynthDevice& device)
{
    const auto region = device.Memory().Region(BulkRegion(DumpType::Performance));
    return {region.begin(), region.end()};
}

} // namespace

EditHistory::EditHistory(SynthDevice& device, QObject* parent)
    : QObject(parent), device_(device), keyFilter_(new HistoryKeys(this))
{
}

EditHistory* EditHistory::Of(const QObject* object)
{
    for (; object; object = object->parent()) {
        if (auto* history = object->findChild<EditHistory*>(QString(), Qt::FindDirectChildrenOnly))
            return history;
    }
    return nullptr;
}

void EditHistory::Edit(const void* control, EditGesture gesture, std::vector<ParameterWrite> writes)
{
    stack_.push(new ParameterEdit(device_, control, gesture, epoch_, std::move(writes)));
}

void EditHistory::ReplacePerformance(const std::function<bool()>& replace)
{
    auto before = PerformanceImage(device_);
    if (!replace())
        return;
    auto after = PerformanceImage(device_);
    if (after != before)
        stack_.push(new PerformanceReplacement(device_, std::move(before), std::move(after)));
    MarkInStep();
}

void EditHistory::MarkInStep()
{
    stack_.setClean();
    ++epoch_;
}

void EditHistory::Undo()
{
    if (!stack_.canUndo())
        return;
    const TemplateDialog::HoldPostedMessages hold;
    const bool whole = dynamic_cast<const PerformanceReplacement*>(stack_.command(stack_.index() - 1));
    stack_.undo();
    ++epoch_;
    if (whole)
        MarkInStep();
}

void EditHistory::Redo()
{
    if (!stack_.canRedo())
        return;
    const TemplateDialog::HoldPostedMessages hold;
    const bool whole = dynamic_cast<const PerformanceReplacement*>(stack_.command(stack_.index()));
    stack_.redo();
    ++epoch_;
    if (whole)
        MarkInStep();
}

void EditHistory::AddShortcuts(QWidget* window)
{
    auto* undo = new QShortcut(QKeySequence::Undo, window);
    connect(undo, &QShortcut::activated, this, &EditHistory::Undo);
    auto* redo = new QShortcut(window);
    redo->setKeys(RedoKeys());
    connect(redo, &QShortcut::activated, this, &EditHistory::Redo);
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        edit->installEventFilter(keyFilter_);
}

void MakeEdit(EditHistory* history, SynthDevice& device, const void* control, EditGesture gesture,
              std::vector<ParameterWrite> writes)
{
    if (history)
        history->Edit(control, gesture, std::move(writes));
    else
        ParameterEdit(device, control, gesture, 0, std::move(writes)).redo();
}

} // namespace cs6
