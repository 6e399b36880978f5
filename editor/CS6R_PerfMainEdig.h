#pragma once
// The program's main window: the common parameters of the instrument's
// current performance, the part strip and part matrix below them, and the
// commands that move whole performances and patch banks.
//
// Every edit goes through the edit history it owns (one for every editor
// window), which writes the parameter memory, sends a parameter change for
// exactly the bytes written and makes the edit undoable. The controls follow
// every change of the performance in the memory, wherever it came from;
// RefreshFromMemory reloads them, the part strip's too, at once. The title
// names the performance and the file it was last opened from or saved to,
// and is marked "*" while it is not as last received, sent or saved whole.
// "Open…", "Save…" (Ctrl+O, Ctrl+S) and a .syx file dropped on the window
// go through Files(); "Undo" and "Redo" are enabled while the history can.
//
// Thread: the user-interface thread. The receive thread reaches the dialog
// only through a posted call (OnShortMessageNotify).

#include <array>
#include <cstdint>

#include "editor/EditHistory.h"
#include "editor/MemoryWatch.h"
#include "editor/ParameterDialog.h"
#include "editor/PerformanceFiles.h"
#include "midi/ReplyCollector.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace cs6 {

class CS6R_PartMatrix;
class CS6R_PerfPartMainEdit;

// True only while RefreshFromMemory writes the name field, so that the
// change it causes is not taken for the user's edit.
extern bool nameWriteInProgress;

class CS6R_PerfMainEdig : public ParameterDialog {
public:
    CS6R_PerfMainEdig(QWidget* parent, SynthDevice* device);
    ~CS6R_PerfMainEdig() override;

    // The initialisation: the port check, the start-up sequence, the controls
    // filled from the memory. False when the ports are not usable: the run
    // should end without showing the window.
    bool InitDialog();

    void RefreshFromMemory();
    // Marks the title while the instrument's ports are gone.
    void SetPortsGone(bool gone);

    // Command handlers, also reachable for tests.
    void OnRequest();
    void OnTransmit();
    void OnInitPerf();
    void OnReceivePatches();
    void OnMidiSetup();
    void OnAudition();

    // "Copy Reverb from patch" and "Copy Chorus from patch": the user picks a
    // stored sound, whose reverb or chorus block replaces the performance's;
    // the whole performance then goes to the instrument. Nothing changes when
    // the user cancels or the instrument does not answer completely.
    enum class Effect { Reverb, Chorus };
    void CopyEffectFromPatch(Effect effect);

    QComboBox* Combo(int id) const;
    QLineEdit* NameEdit() const;
    QPushButton* Button(int id) const;
    bool DetectManualChange() const;
    void SetDetectManualChange(bool on);
    // The part strip and the part selectors; null until InitDialog made them.
    CS6R_PerfPartMainEdit* PartStrip() const { return partStrip; }
    CS6R_PartMatrix* PartMatrix() const { return partMatrix; }
    EditHistory& History() const { return *history_; }
    PerformanceFiles& Files() const { return *files_; }

    static constexpr int kFaderCount = 8;

protected:
    // Children of this dialog over the placeholders 1026 and 1024.
    CS6R_PartMatrix* partMatrix = nullptr;
    CS6R_PerfPartMainEdit* partStrip = nullptr;

private:
    // Posts the notice of a two-byte message from the receive thread to
    // this dialog, as a call of OnShortMessageNotify.
    class ShortMessagePoster : public NotificationTarget {
    public:
        explicit ShortMessagePoster(CS6R_PerfMainEdig* dialog) : dialog_(dialog) {}
        void PostShortMessage(std::uint8_t status, std::uint8_t data) override;

    private:
        CS6R_PerfMainEdig* dialog_;
    };

    void FillCombos();
    void CreatePartDialogs();
    void ConnectHandlers();
    void OnShortMessageNotify();
    void OnNameEdited();
    void OnNameCommit();
    // A list choice or a switch: one byte of the common block 30 00.
    void EditCommon(const QWidget* control, int low, std::uint8_t byte);
    void RefreshEffectLabels();
    void RefreshTitle();
    // This window's own controls (not the strip's) from the memory.
    void ShowMemory();
    static constexpr std::uint32_t CommonAddress(int low)
    {
        return PackAddress(block::kPerformance, common::kBlockMid, low);
    }
    std::uint8_t Common(int low) const { return synthDevice->Read(CommonAddress(low)); }

    ShortMessagePoster poster_{this};
    EditHistory* history_;    // a child of this window
    PerformanceFiles* files_; // a child of this window
    MemoryWatch watch_;
    bool portsGone_ = false;
};

} // namespace cs6
