// The fader: drag arithmetic and clamping, the release, posted
// notifications, interrupted drags, right-button drags, keys and wheel.

#include <QDialog>

#include "ControlsTestSupport.h"
#include "controls/FaderControl.h"

using namespace cs6;
using namespace cs6::test;

namespace {

constexpr FaderStep kDrag = FaderStep::Drag;
constexpr FaderStep kRelease = FaderStep::Release;
using Numbers = std::vector<FaderStep>;
// A part strip fader: 19 x 39 dialog units of an 8-point MS Sans Serif
// dialog, 29 x 63 pixels, so its track runs from y 10 to 48.
constexpr QSize kStripFader(29, 63);

// A shown dialog with one fader set up the way the owners do it, painted once.
struct Window {
    Window(double min, double max, int value)
    {
        dialog.resize(200, 200);
        fader.setParent(&dialog);
        fader.setGeometry(QRect(QPoint(20, 20), kStripFader));
        fader.SetRange(min, max, value);
        sink.Listen(fader);
        fader.SetValue(value);
        dialog.show();
        fader.grab();
    }
    QPoint Thumb() const { return {fader.width() / 2, fader.ThumbY()}; }
    StepSink sink;
    QDialog dialog;
    FaderControl fader;
};

} // namespace

class FaderControlTest : public QObject {
    Q_OBJECT

private slots:
    void DragFollowsTheRangesArithmetic_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("thumbY");
        // More units than track pixels: a pixel is a unit.
        QTest::newRow("0..127 up 10") << 0.0 << 127.0 << 64 << -10 << 74 << 25;
        QTest::newRow("0..127 down 20") << 0.0 << 127.0 << 64 << 20 << 44 << 34;
        QTest::newRow("25..300 up 30") << 25.0 << 300.0 << 120 << -30 << 150 << 30;
        // Fewer units: 39 / 8 = 4.875 pixels a unit, truncated.
        QTest::newRow("0..7 up 4 is none") << 0.0 << 7.0 << 3 << -4 << 3 << 33;
        QTest::newRow("0..7 up 5 is one") << 0.0 << 7.0 << 3 << -5 << 4 << 28;
        QTest::newRow("0..7 down 14 is two") << 0.0 << 7.0 << 3 << 14 << 1 << 43;
        // Across -1, which must not read as "no drag" when it is the anchor.
        QTest::newRow("-64..63 from -1 up 5") << -64.0 << 63.0 << -1 << -5 << 4 << 27;
        // Clamped at both ends, still posting every step.
        QTest::newRow("0..127 up 20 stops at 127") << 0.0 << 127.0 << 120 << -20 << 127 << 9;
        QTest::newRow("0..127 down 300 stops at 0") << 0.0 << 127.0 << 120 << 300 << 0 << 48;
    }
    void DragFollowsTheRangesArithmetic()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(int, start);
        QFETCH(int, dy);
        QFETCH(int, value);
        QFETCH(int, thumbY);
        Window w(min, max, start);
        const QPoint press = w.Thumb();
        Press(&w.fader, press);
        Move(&w.fader, press + QPoint(3, dy / 2)); // the whole movement counts, not the steps
        Move(&w.fader, press + QPoint(3, dy));
        QCOMPARE(w.fader.Value(), double(value));
        QCOMPARE(w.fader.ThumbY(), thumbY);
        QCOMPARE(w.fader.Label(), QString::number(value));
        QVERIFY(w.sink.received.empty()); // posted, not delivered in the handler
        QCOMPARE(w.sink.Deliver(), (Numbers{kDrag, kDrag}));
        Release(&w.fader, press + QPoint(40, dy)); // anywhere: the press was on the thumb
        QCOMPARE(w.sink.Deliver().back(), kRelease);
        QCOMPARE(w.fader.DragAnchor(), -1);
        QCOMPARE(w.fader.Items().GetSignedByName(0, "top"), thumbY - 5); // the hit region follows
    }

    void PressOnTheTrackDoesNothingAndAClickPostsOneRelease()
    {
        Window w(0, 127, 64);
        const QPoint track(14, 45); // below the thumb's 23..33
        Press(&w.fader, track);
        Move(&w.fader, track + QPoint(0, -20)); // across the thumb
        Release(&w.fader, track + QPoint(0, -20));
        QCOMPARE(w.fader.Value(), 64.0);
        QVERIFY(w.sink.Deliver().empty());
        for (const QPoint corner : {QPoint(0, 23), QPoint(28, 33)}) {
            Press(&w.fader, corner);
            Release(&w.fader, corner);
        }
        QCOMPARE(w.sink.Deliver(), (Numbers{kRelease, kRelease}));
    }

    // Regressions: a lost capture left the anchor set, so the next drag started
    // from the old value, and the owner never heard the release. A value set
    // from outside during a drag (a refresh from the instrument) moved the
    // thumb's hit region away from the press, so the rest of the drag and its
    // release were ignored, keys and wheel stayed dead and the next drag began
    // at the old value.
    void AnInterruptedDragLeavesTheFaderReady_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("value"); // after moving up 12 in all
        QTest::addColumn<int>("drags");
        QTest::newRow("capture lost: the button came up elsewhere") << 0 << 74 << 1;
        QTest::newRow("value set to 30 before the first move") << 1 << 42 << 1;
        QTest::newRow("value set to 30 mid-drag") << 2 << 32 << 2;
    }
    void AnInterruptedDragLeavesTheFaderReady()
    {
        QFETCH(int, how);
        QFETCH(int, value);
        QFETCH(int, drags);
        Window w(0, 127, 64);
        const QPoint press = w.Thumb();
        Press(&w.fader, press);
        if (how != 1)
            Move(&w.fader, press - QPoint(0, 10));
        if (how == 0)
            Move(&w.fader, press - QPoint(0, 10), Qt::NoButton);
        else
            w.fader.SetValue(30);
        Move(&w.fader, press - QPoint(0, 12));
        Release(&w.fader, press - QPoint(0, 12)); // after a lost capture, a late release adds nothing
        QCOMPARE(w.fader.Value(), double(value));
        Numbers expected(static_cast<std::size_t>(drags), kDrag);
        expected.push_back(kRelease);
        QCOMPARE(w.sink.Deliver(), expected);
        QCOMPARE(w.fader.DragAnchor(), -1);

        QTest::keyClick(&w.fader, Qt::Key_Up);
        Wheel(&w.fader, 120);
        QCOMPARE(w.fader.Value(), value + 2.0);
        const QPoint again = w.Thumb();
        Press(&w.fader, again);
        Move(&w.fader, again - QPoint(0, 1));
        QCOMPARE(w.fader.Value(), value + 3.0);
    }

    void RightButtonDragChangesNothing()
    {
        Window w(0, 127, 64);
        const QPoint press = w.Thumb();
        Press(&w.fader, press, Qt::RightButton);
        Move(&w.fader, press + QPoint(0, -10), Qt::RightButton);
        Release(&w.fader, press + QPoint(0, -10), Qt::RightButton);
        QCOMPARE(w.fader.Value(), 64.0);
        QVERIFY(w.sink.Deliver().empty());
    }

    void KeysAndWheelStepTheValue_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key"); // 0: one wheel notch up, 1: one down
        QTest::addColumn<int>("value");
        QTest::newRow("up") << 64 << int(Qt::Key_Up) << 65;
        QTest::newRow("page down clamps") << 5 << int(Qt::Key_PageDown) << 0;
        QTest::newRow("end is the maximum") << 64 << int(Qt::Key_End) << 127;
        QTest::newRow("up from above the range") << 200 << int(Qt::Key_Up) << 127;
        QTest::newRow("up at the maximum") << 127 << int(Qt::Key_Up) << 127;
        QTest::newRow("wheel down") << 64 << 1 << 63;
        QTest::newRow("wheel up at the maximum") << 127 << 0 << 127;
    }
    void KeysAndWheelStepTheValue()
    {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, value);
        Window w(0, 127, start);
        if (key > 1)
            QTest::keyClick(&w.fader, static_cast<Qt::Key>(key));
        else
            Wheel(&w.fader, key == 0 ? 120 : -120);
        QCOMPARE(w.fader.Value(), double(value));
        // A step is a whole change: one release, so the owner sends it once.
        QCOMPARE(w.sink.Deliver(), (value == start ? Numbers{} : Numbers{kRelease}));
        QCOMPARE(w.fader.Label(), QString::number(value));
        QCOMPARE(w.fader.HitTest(w.Thumb()), 0);
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
