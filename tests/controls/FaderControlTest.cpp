// The fader: drag arithmetic and clamping, the release, posted
// notifications, interrupted drags, right-button drags, keys and wheel.

#include <QDialog>

#include "ControlsTestSupport.h"
#include "controls/FaderControl.h"
#include "framework/PostedCall.h"

using namespace cs6;
using namespace cs6::test;

namespace {

constexpr FaderStep kDrag = FaderStep::Drag;
constexpr FaderStep kRelease = FaderStep::Release;
using Numbers = std::vector<FaderStep>;

// A shown dialog with one fader set up the way the owners do it, painted
// once; it records the steps the fader posts, in order.
struct Window : QObject {
    Window(double min, double max, int value)
    {
        dialog.resize(200, 200);
        fader.setGeometry(20, 20, 29, 63); // a part strip fader, 19 x 39 dialog units: its track y 10..48
        fader.SetRange(min, max, value);
        fader.notifyTarget = this;
        fader.notify = [this](FaderStep step) { received.push_back(step); };
        fader.SetValue(value);
        dialog.show();
        fader.grab();
    }
    QPoint Thumb() const { return {fader.width() / 2, fader.ThumbY()}; }
    const Numbers& Deliver()
    {
        QCoreApplication::sendPostedEvents(this, PostedCall::Type());
        return received;
    }
    void customEvent(QEvent* event) override { static_cast<PostedCall*>(event)->Run(); }
    Numbers received;
    QDialog dialog;
    FaderControl fader{&dialog};
};

} // namespace

class FaderControlTest : public QObject {
    Q_OBJECT

private slots:
    void DragFollowsTheRangesArithmetic()
    {
        struct Row {
            double min, max;
            int start, dy, value, thumbY;
        };
        const Row rows[] = {
            // More units than track pixels: a pixel is a unit.
            {0, 127, 64, -10, 74, 25}, {0, 127, 64, 20, 44, 34}, {25, 300, 120, -30, 150, 30},
            // Fewer units: 39 / 8 = 4.875 pixels a unit, truncated.
            {0, 7, 3, -4, 3, 33}, {0, 7, 3, -5, 4, 28}, {0, 7, 3, 14, 1, 43},
            // Across -1, which must not read as "no drag" when it is the anchor.
            {-64, 63, -1, -5, 4, 27},
            // Clamped at both ends, still posting every step.
            {0, 127, 120, -20, 127, 9}, {0, 127, 120, 300, 0, 48}};
        for (const Row& row : rows) {
            Window w(row.min, row.max, row.start);
            const QPoint press = w.Thumb();
            Press(&w.fader, press);
            Move(&w.fader, press + QPoint(3, row.dy / 2)); // the whole movement counts, not the steps
            Move(&w.fader, press + QPoint(3, row.dy));
            QCOMPARE(w.fader.Value(), double(row.value));
            QCOMPARE(w.fader.ThumbY(), row.thumbY);
            QCOMPARE(w.fader.Label(), QString::number(row.value));
            QVERIFY(w.received.empty()); // posted, not delivered in the handler
            QCOMPARE(w.Deliver(), (Numbers{kDrag, kDrag}));
            Release(&w.fader, press + QPoint(40, row.dy)); // anywhere: the press was on the thumb
            QCOMPARE(w.Deliver().back(), kRelease);
            QCOMPARE(w.fader.DragAnchor(), -1);
            QCOMPARE(w.fader.Items().GetSignedByName(0, "top"), row.thumbY - 5); // the hit region follows
        }
    }

    // A press on the track, or a drag with the right button, changes nothing.
    void PressOnTheTrackOrTheRightButtonDoesNothingAndAClickPostsOneRelease()
    {
        Window w(0, 127, 64);
        for (const auto& [press, button] : {std::pair{QPoint(14, 45), Qt::LeftButton}, std::pair{w.Thumb(), Qt::RightButton}}) {
            Press(&w.fader, press, button); // the track below the thumb's 23..33
            Move(&w.fader, press + QPoint(0, -20), button); // across the thumb
            Release(&w.fader, press + QPoint(0, -20), button);
        }
        QCOMPARE(w.fader.Value(), 64.0);
        QVERIFY(w.Deliver().empty());
        for (const QPoint corner : {QPoint(0, 23), QPoint(28, 33)}) {
            Press(&w.fader, corner);
            Release(&w.fader, corner);
        }
        QCOMPARE(w.Deliver(), (Numbers{kRelease, kRelease}));
    }

    // Regressions: a lost capture left the anchor set, so the next drag started
    // from the old value, and the owner never heard the release. A value set
    // from outside during a drag (a refresh from the instrument) moved the
    // thumb's hit region away from the press, so the rest of the drag and its
    // release were ignored, keys and wheel stayed dead and the next drag began
    // at the old value.
    void AnInterruptedDragLeavesTheFaderReady()
    {
        // How (the capture lost, 0: the button came up elsewhere, 3: the fader
        // hidden, 4: disabled, 5: a popup took the focus, 6: its window
        // deactivated; or the value set to 30, 1: before the first move, 2:
        // mid-drag), the value after moving up 12 in all, the steps posted.
        const Numbers once{kDrag, kRelease};
        const std::tuple<int, int, Numbers> rows[] = {{0, 74, once}, {1, 42, once}, {2, 32, {kDrag, kDrag, kRelease}},
                                                      {3, 74, once}, {4, 74, once}, {5, 74, once}, {6, 74, once}};
        for (const auto& [how, value, steps] : rows) {
            Window w(0, 127, 64);
            w.dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
            const QPoint press = w.Thumb();
            Press(&w.fader, press);
            if (how != 1)
                Move(&w.fader, press - QPoint(0, 10));
            QDialog other;
            QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
            switch (how) {
            case 0: Move(&w.fader, press - QPoint(0, 10), Qt::NoButton); break;
            case 1: case 2: w.fader.SetValue(30); break;
            case 3: w.fader.hide(); w.fader.show(); break;
            case 4: w.fader.setEnabled(false); w.fader.setEnabled(true); break;
            case 5: QApplication::sendEvent(&w.fader, &popup); break;
            case 6: other.show(); other.activateWindow(); QVERIFY(QTest::qWaitForWindowActive(&other)); break;
            }
            Move(&w.fader, press - QPoint(0, 12));
            Release(&w.fader, press - QPoint(0, 12)); // after a lost capture, a late release adds nothing
            QCOMPARE(w.fader.Value(), double(value));
            QCOMPARE(w.Deliver(), steps);
            QCOMPARE(w.fader.DragAnchor(), -1);
            QTest::keyClick(&w.fader, Qt::Key_Up);
            Wheel(&w.fader, 120);
            QCOMPARE(w.fader.Value(), value + 2.0);
            const QPoint again = w.Thumb();
            Press(&w.fader, again);
            Move(&w.fader, again - QPoint(0, 1));
            QCOMPARE(w.fader.Value(), value + 3.0);
        }
    }

    void KeysAndWheelStepTheValue()
    {
        // The start, the key (0: one wheel notch up, 1: one down), the value.
        const std::tuple<int, int, int> rows[] = {
            {64, Qt::Key_Up, 65}, {5, Qt::Key_PageDown, 0}, {64, Qt::Key_End, 127},
            {200, Qt::Key_Up, 127}, // from above the range
            {127, Qt::Key_Up, 127}, {64, 1, 63}, {127, 0, 127}};
        for (const auto& [start, key, value] : rows) {
            Window w(0, 127, start);
            if (key > 1)
                QTest::keyClick(&w.fader, static_cast<Qt::Key>(key));
            else
                Wheel(&w.fader, key == 0 ? 120 : -120);
            QCOMPARE(w.fader.Value(), double(value));
            // A step is a whole change: one release, so the owner sends it once.
            QCOMPARE(w.Deliver(), (value == start ? Numbers{} : Numbers{kRelease}));
            QCOMPARE(w.fader.Label(), QString::number(value));
            QCOMPARE(w.fader.HitTest(w.Thumb()), 0);
        }
    }

    void PartsOfAWheelNotchAddUpAndKeysWaitForADrag()
    {
        Window w(0, 127, 64);
        Wheel(&w.fader, 60);
        Wheel(&w.fader, 60);
        QCOMPARE(w.fader.Value(), 65.0);
        Press(&w.fader, w.Thumb());
        Move(&w.fader, w.Thumb() + QPoint(0, -2));
        QTest::keyClick(&w.fader, Qt::Key_PageUp);
        QCOMPARE(w.fader.Value(), 67.0);
    }
};

CS6_EDITOR_TEST(FaderControlTest);
#include "FaderControlTest.moc"
