// The scrollable panel under the fader: the presses, drags and releases it
// reports over its items, and which button holds the capture. Each way the
// capture is lost: FaderControlTest::AnInterruptedDragLeavesTheFaderReady;
// hovering takes the focus: PartEditorTest::typedTextInAProgramListChoosesNothing.

#include <QDialog>

#include "ControlsTestSupport.h"
#include "controls/QvScrollableWndCtrl.h"

using namespace cs6;
using namespace cs6::test;

namespace {

struct Call { int row; QPoint press, point; bool operator==(const Call&) const = default; };

// A panel that records what it is told.
struct RecordingPanel : QvScrollableWndCtrl {
    void OnItemButtonUp(int row, int px, int py, int x, int y) override { buttonUps.push_back({row, {px, py}, {x, y}}); }
    void OnItemDrag(int row, int px, int py, int x, int y) override { drags.push_back({row, {px, py}, {x, y}}); }
    void OnCaptureLost() override { ++capturesLost; }
    void DrawContent(QPainter&, int, int) override {}
    std::vector<Call> buttonUps, drags;
    int capturesLost = 0;
};

// The panel in a shown dialog, with items 0 (0..40 square) and 1 (50..90).
struct Window {
    Window()
    {
        dialog.resize(150, 150);
        panel.setParent(&dialog);
        panel.setGeometry(0, 0, 100, 100);
        panel.AddItem(1, 11, 21, 0, 0, 40, 40);
        panel.AddItem(2, 12, 22, 50, 50, 90, 90);
        dialog.show();
    }
    QDialog dialog;
    RecordingPanel panel;
};

} // namespace

class QvScrollableWndCtrlTest : public QObject {
    Q_OBJECT

private slots:
    void MovesDuringTheCaptureAreDrags()
    {
        Window w;
        Release(&w.panel, {10, 10}); // no press before it: the press point is lost
        Move(&w.panel, {20, 20}, Qt::NoButton); // hovering
        Press(&w.panel, {10, 10});
        Move(&w.panel, {15, 30});
        Move(&w.panel, {200, -50}); // outside, still captured
        Release(&w.panel, {200, -50});
        Press(&w.panel, {45, 45}, Qt::RightButton);
        Move(&w.panel, {46, 46}, Qt::RightButton);
        Release(&w.panel, {46, 46}, Qt::RightButton); // right releases are not reported
        // A double-click, in the order Qt delivers it: the second press drags.
        Press(&w.panel, {60, 60});
        Release(&w.panel, {60, 60});
        Press(&w.panel, {60, 60});
        SendMouse(&w.panel, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {60, 60});
        Move(&w.panel, {5, 5});
        Release(&w.panel, {5, 5});
        // A second button does not take the capture over.
        Press(&w.panel, {10, 10});
        Press(&w.panel, {80, 80}, Qt::RightButton, Qt::LeftButton);
        Move(&w.panel, {20, 20}, Qt::LeftButton | Qt::RightButton);
        Release(&w.panel, {80, 80}, Qt::RightButton, Qt::LeftButton);
        Release(&w.panel, {20, 20});
        QCOMPARE(w.panel.drags, (std::vector<Call>{{0, {10, 10}, {15, 30}}, {0, {10, 10}, {200, -50}},
                                                   {-1, {45, 45}, {46, 46}}, {1, {60, 60}, {5, 5}},
                                                   {0, {10, 10}, {20, 20}}}));
        QCOMPARE(w.panel.buttonUps, (std::vector<Call>{{0, {-100, -100}, {10, 10}}, {-1, {10, 10}, {200, -50}},
                                                       {1, {60, 60}, {60, 60}}, {0, {60, 60}, {5, 5}},
                                                       {0, {10, 10}, {20, 20}}}));
        QCOMPARE(w.panel.capturesLost, 0);
    }
};

CS6_EDITOR_TEST(QvScrollableWndCtrlTest);
#include "QvScrollableWndCtrlTest.moc"
