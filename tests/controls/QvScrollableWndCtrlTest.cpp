// The scrollable panel: run-time class, hit tests, item messages, the capture
// rules, hover focus, scroll bars and wheel, and painting through the buffer.

#include <memory>

#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

#include "ControlsTestSupport.h"
#include "controls/FaderControl.h"

using namespace cs6;
using namespace cs6::test;
using Code = QvScrollableWndCtrl::ScrollCode;
Q_DECLARE_METATYPE(QvScrollableWndCtrl::ScrollCode)

namespace {

constexpr unsigned kClick = kWmUser + 10;
constexpr unsigned kRightClick = kWmUser + 11;
constexpr unsigned kDoubleClick = kWmUser + 12;

struct Call {
    int row;
    QPoint press;
    QPoint point;
    bool operator==(const Call&) const = default;
};

// A panel in a shown dialog that records what it is told; with fill set it
// paints that colour instead of the default picture.
class RecordingPanel : public QvScrollableWndCtrl {
public:
    std::vector<Call> buttonUps, drags;
    int capturesLost = 0;
    int draws = 0;
    QColor fill;

protected:
    void OnItemButtonUp(int row, int px, int py, int x, int y) override { buttonUps.push_back({row, {px, py}, {x, y}}); }
    void OnItemDrag(int row, int px, int py, int x, int y) override { drags.push_back({row, {px, py}, {x, y}}); }
    void OnCaptureLost() override { ++capturesLost; }
    void DrawContent(QPainter& p, const QRect& c, const QRect& full, const QRect& in, const QRegion& clip, int w,
                     int h) override
    {
        ++draws;
        if (fill.isValid())
            p.fillRect(full, fill);
        else
            QvScrollableWndCtrl::DrawContent(p, c, full, in, clip, w, h);
    }
};

struct Window {
    explicit Window(QSize size = {100, 100})
    {
        dialog.resize(size + QSize(50, 50));
        panel.setParent(&dialog);
        panel.setGeometry(QRect(QPoint(0, 0), size));
        panel.itemTarget = &sink;
        panel.clickMessage = kClick;
        panel.rightClickMessage = kRightClick;
        panel.doubleClickMessage = kDoubleClick;
        panel.AddItem(1, 11, 21, 0, 0, 40, 40);
        panel.AddItem(2, 12, 22, 50, 50, 90, 90);
        dialog.show();
    }
    MessageSink sink;
    QDialog dialog;
    RecordingPanel panel;
};

} // namespace

class QvScrollableWndCtrlTest : public QObject {
    Q_OBJECT

private slots:
    void ReportsItsRunTimeClassAndCanBeCreatedFromIt()
    {
        const std::unique_ptr<QObject> made(QvScrollableWndCtrl::staticMetaObject.newInstance());
        QVERIFY(qobject_cast<QvScrollableWndCtrl*>(made.get()) != nullptr);
        QCOMPARE(made->metaObject()->className(), "QvScrollableWndCtrl");
        QVERIFY(made->inherits("QAbstractButton"));
        FaderControl fader; // declares no run-time class of its own
        QCOMPARE(fader.metaObject()->className(), "QvScrollableWndCtrl");
    }

    void HitTestFindsTheLastItemUnderThePoint_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("row");
        // Row 0: 10..50 square; row 1: 40..80 over its corner; row 2: (100, 100).
        QTest::newRow("overlap: later row") << QPoint(45, 45) << 1;
        QTest::newRow("left and top edges") << QPoint(10, 10) << 0;
        QTest::newRow("right edge") << QPoint(50, 20) << 0;
        QTest::newRow("bottom edge") << QPoint(20, 50) << 0;
        QTest::newRow("past the right edge") << QPoint(51, 20) << -1;
        QTest::newRow("past the bottom edge") << QPoint(20, 51) << -1;
        QTest::newRow("one-pixel item") << QPoint(100, 100) << 2;
        QTest::newRow("lost press point") << QvScrollableWndCtrl::kLostPressPoint << -1;
    }
    void HitTestFindsTheLastItemUnderThePoint()
    {
        QFETCH(QPoint, point);
        QFETCH(int, row);
        QvScrollableWndCtrl panel;
        panel.AddItem(0, 0, 0, 10, 10, 50, 50);
        panel.AddItem(0, 1, 0, QvScrollableWndCtrl::ItemRect{40, 40, 80, 80});
        panel.AddItem(0, 2, 0, 100, 100, 100, 100);
        QCOMPARE(panel.HitTest(point), row);
    }

    void ClicksOnOneItemArePostedWithItsIds()
    {
        Window w;
        Press(&w.panel, {10, 10});
        Release(&w.panel, {30, 35});
        QVERIFY(w.sink.received.empty()); // posted, not delivered in the handler
        QCOMPARE(w.sink.Deliver(), (std::vector<Message>{{kClick, 11, 21}}));
        Press(&w.panel, {60, 60}, Qt::RightButton);
        Release(&w.panel, {70, 70}, Qt::RightButton);
        QCOMPARE(w.sink.Deliver().back(), (Message{kRightClick, 12, 22}));
        // Other items or none: nothing posted, but every left release is reported.
        Press(&w.panel, {10, 10});
        Release(&w.panel, {60, 60});
        Press(&w.panel, {45, 45});
        Release(&w.panel, {45, 45});
        Press(&w.panel, {10, 10}, Qt::RightButton);
        Release(&w.panel, {60, 60}, Qt::RightButton);
        QCOMPARE(w.sink.Deliver().size(), 2u);
        QCOMPARE(w.panel.buttonUps, (std::vector<Call>{{0, {10, 10}, {30, 35}}, {1, {10, 10}, {60, 60}},
                                                       {-1, {45, 45}, {45, 45}}}));
    }

    void DoubleClickPostsTheDoubleClickMessage()
    {
        Window w;
        // The order in which Qt delivers a double-click.
        Press(&w.panel, {10, 10});
        Release(&w.panel, {10, 10});
        Press(&w.panel, {11, 10});
        SendMouse(&w.panel, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {11, 10});
        Release(&w.panel, {11, 10});
        Press(&w.panel, {10, 10});
        Release(&w.panel, {10, 10});
        QCOMPARE(w.sink.Numbers(), (std::vector<unsigned>{kClick, kDoubleClick, kClick}));
    }

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
        QCOMPARE(w.panel.drags, (std::vector<Call>{{0, {10, 10}, {15, 30}}, {0, {10, 10}, {200, -50}},
                                                   {-1, {45, 45}, {46, 46}}}));
        QCOMPARE(w.panel.buttonUps, (std::vector<Call>{{0, {-100, -100}, {10, 10}}, {-1, {10, 10}, {200, -50}}}));
        QCOMPARE(w.sink.Deliver().size(), 0u);
        QCOMPARE(w.panel.capturesLost, 0);
    }

    void LostCaptureIsToldOnceAndClicksNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("hidden") << 0;
        QTest::newRow("disabled") << 1;
        QTest::newRow("a popup took the focus") << 2;
        QTest::newRow("the button came up elsewhere") << 3;
        QTest::newRow("the window was deactivated") << 4;
    }
    void LostCaptureIsToldOnceAndClicksNothing()
    {
        QFETCH(int, how);
        Window w;
        w.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        Press(&w.panel, {10, 10});
        QDialog other;
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        switch (how) {
        case 0: w.panel.hide(); w.panel.show(); break;
        case 1: w.panel.setEnabled(false); w.panel.setEnabled(true); break;
        case 2: QApplication::sendEvent(&w.panel, &popup); break;
        case 3: Move(&w.panel, {14, 14}, Qt::NoButton); break;
        case 4: other.show(); other.activateWindow(); QVERIFY(QTest::qWaitForWindowActive(&other)); break;
        }
        QCOMPARE(w.panel.capturesLost, 1);
        QVERIFY(!w.panel.HoldsCapture());
        Move(&w.panel, {16, 16});
        QVERIFY(w.panel.drags.empty());
        Release(&w.panel, {10, 10});
        QCOMPARE(w.panel.buttonUps, (std::vector<Call>{{0, {-100, -100}, {10, 10}}}));
        QVERIFY(w.sink.Deliver().empty());
        QCOMPARE(w.panel.capturesLost, 1);
    }

    void ASecondButtonDoesNotTakeOverTheCapture()
    {
        Window w;
        Press(&w.panel, {10, 10});
        Press(&w.panel, {80, 80}, Qt::RightButton, Qt::LeftButton);
        Move(&w.panel, {20, 20}, Qt::LeftButton | Qt::RightButton);
        Release(&w.panel, {80, 80}, Qt::RightButton, Qt::LeftButton);
        Release(&w.panel, {20, 20});
        QCOMPARE(w.panel.drags, (std::vector<Call>{{0, {10, 10}, {20, 20}}}));
        QCOMPARE(w.panel.buttonUps, (std::vector<Call>{{0, {10, 10}, {20, 20}}}));
        QCOMPARE(w.sink.Numbers(), std::vector<unsigned>{kClick});
    }

    void HoveringTakesTheFocusWhileItsOwnerIsActive()
    {
        Window w;
        QLineEdit edit(&w.dialog);
        edit.move(0, 110);
        edit.show();
        w.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        QDialog inactiveOwner;
        w.panel.focusOwner = &inactiveOwner;
        edit.setFocus();
        Move(&w.panel, {20, 20}, Qt::NoButton);
        QVERIFY(edit.hasFocus());
        w.panel.focusOwner = &w.dialog;
        Move(&w.panel, {20, 20}, Qt::NoButton);
        QVERIFY(w.panel.hasFocus());
        edit.setFocus();
        w.panel.focusOwner = nullptr;
        QTest::mouseMove(&w.panel, {30, 30}); // a real pointer move
        QVERIFY(w.panel.hasFocus());
    }

    void ScrollSizesShowBarsOnlyForLargerContent()
    {
        Window w({100, 50});
        w.panel.SetScrollSizes(-1, -1);
        QVERIFY(!w.panel.VerticalBarShown() && !w.panel.HorizontalBarShown());
        w.panel.alwaysShowVerticalBar = true;
        w.panel.SetVerticalPosition(7);
        w.panel.SetScrollSizes(-1, -1);
        QVERIFY(w.panel.VerticalBarShown() && !w.panel.HorizontalBarShown());
        QCOMPARE(w.panel.VerticalPosition(), 0);

        Window wide({100, 50});
        wide.panel.SetVerticalPosition(30);
        wide.panel.SetScrollSizes(500, 300);
        QVERIFY(wide.panel.VerticalBarShown() && wide.panel.HorizontalBarShown());
        QCOMPARE(wide.panel.VerticalPosition(), 30); // kept when the content exceeds the page
        QCOMPARE(wide.panel.HorizontalPage(), 100);
        QCOMPARE(wide.panel.HorizontalScrollLimit(), 201); // range 0..300 inclusive
        QVERIFY(wide.panel.VerticalPage() < 50); // less the horizontal bar
        QCOMPARE(wide.panel.VerticalScrollLimit(), 500 - wide.panel.VerticalPage() + 1);
    }

    void ScrollSteps_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("from");
        QTest::addColumn<Code>("code");
        QTest::addColumn<int>("to");
        // Vertical: page 50, limit 451. Horizontal: page 100, limit 201.
        QTest::newRow("line up") << true << 10 << Code::LineUp << 6;
        QTest::newRow("line up stops at 0") << true << 2 << Code::LineUp << 0;
        QTest::newRow("line down") << true << 449 << Code::LineDown << 451;
        QTest::newRow("page up from 10") << true << 10 << Code::PageUp << 0;
        QTest::newRow("page up from 51") << true << 51 << Code::PageUp << 1;
        QTest::newRow("page down stops at the limit") << true << 420 << Code::PageDown << 451;
        QTest::newRow("thumb") << true << 10 << Code::ThumbTrack << 123;
        QTest::newRow("bottom") << true << 10 << Code::Bottom << 451;
        QTest::newRow("other codes keep") << true << 10 << Code::EndScroll << 10;
        QTest::newRow("line left") << false << 10 << Code::LineUp << 2;
        QTest::newRow("page left") << false << 150 << Code::PageUp << 50;
        QTest::newRow("right end") << false << 0 << Code::Bottom << 201;
    }
    void ScrollSteps()
    {
        QFETCH(bool, vertical);
        QFETCH(int, from);
        QFETCH(Code, code);
        QFETCH(int, to);
        Window w({100, 50});
        if (vertical) {
            w.panel.SetScrollSizes(500, -1);
            w.panel.OnVScroll(Code::ThumbPosition, from);
            w.panel.OnVScroll(code, 123);
            QCOMPARE(w.panel.VerticalPosition(), to);
        } else {
            w.panel.SetScrollSizes(-1, 300);
            w.panel.OnHScroll(Code::ThumbPosition, from);
            w.panel.OnHScroll(code);
            QCOMPARE(w.panel.HorizontalPosition(), to);
        }
    }

    void ScrollBarActionsFollowTheStepRules()
    {
        Window w({100, 50});
        w.panel.SetScrollSizes(500, -1);
        QScrollBar* bar = nullptr;
        for (QScrollBar* child : w.panel.findChildren<QScrollBar*>())
            bar = child->orientation() == Qt::Vertical ? child : bar;
        QVERIFY(bar && bar->isVisibleTo(&w.panel));
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(w.panel.VerticalPosition(), 54);
        QCOMPARE(bar->value(), 54);
    }

    void WheelNotchesMoveFortyPixels_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("to");
        QTest::newRow("one notch up") << 100 << 120 << 60;
        QTest::newRow("half a notch moves nothing") << 100 << 60 << 100;
        QTest::newRow("one and a half count one") << 100 << -180 << 140;
        QTest::newRow("stops at 0") << 100 << 360 << 0;
        QTest::newRow("stops at the limit") << 440 << -120 << 451;
    }
    void WheelNotchesMoveFortyPixels()
    {
        QFETCH(int, from);
        QFETCH(int, delta);
        QFETCH(int, to);
        Window w({100, 50});
        w.panel.SetScrollSizes(500, -1);
        w.panel.OnVScroll(Code::ThumbPosition, from);
        Wheel(&w.panel, delta);
        QCOMPARE(w.panel.VerticalPosition(), to);
    }

    void CacheKeepsThePictureUntilInvalidated()
    {
        Window w({60, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
        w.panel.fill = Qt::red;
        const int before = w.panel.draws;
        w.panel.repaint();
        w.panel.repaint();
        QCOMPARE(w.panel.draws, before + 2); // no cache: every paint draws
        w.panel.cacheEnabled = true;
        w.panel.repaint();
        QVERIFY(w.panel.cacheValid);
        w.panel.fill = Qt::blue;
        w.panel.repaint();
        QCOMPARE(w.panel.draws, before + 3);
        QCOMPARE(w.panel.grab().toImage().pixel(30, 20), QColor(Qt::red).rgb()); // the kept picture
        w.panel.OnVScroll(Code::Top); // scrolling draws afresh, the cache stays valid
        QCOMPARE(w.panel.draws, before + 4);
        QVERIFY(w.panel.cacheValid);
        w.panel.fill = Qt::green;
        w.panel.resize(70, 40); // a new size needs a new picture
        QCOMPARE(w.panel.grab().toImage().pixel(65, 20), QColor(Qt::green).rgb());
    }

    void DefaultPictureIsAClippedCrossPresentedFromTheBuffer()
    {
        Window w;
        const QRgb paper = w.panel.palette().color(QPalette::Light).rgb();
        const QRgb ink = QColor(Qt::black).rgb();
        w.panel.SetScrollSizes(500, -1);
        QImage shown = w.panel.grab().toImage();
        QCOMPARE(shown.pixel(1, 1), paper); // outside the 3-pixel clip
        QCOMPARE(shown.pixel(10, 10), ink);
        QCOMPARE(w.panel.PictureBuffer()->View().pixel(10, 10), ink);
        QCOMPARE(w.panel.PictureBuffer()->Width(), w.panel.ClientRect().width()); // not under the bar
        w.panel.OnVScroll(Code::ThumbPosition, 20); // the diagonal moves 20 to the right
        shown = w.panel.grab().toImage();
        QCOMPARE(shown.pixel(30, 10), ink);
        QCOMPARE(shown.pixel(10, 10), paper);
    }
};

CS6_OFFSCREEN_TEST_MAIN(QvScrollableWndCtrlTest)
#include "QvScrollableWndCtrlTest.moc"
