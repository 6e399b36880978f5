// Times one drag step of a part strip fader: the value update and a full
// synchronous repaint through the picture buffer, plus the posted message.
// Goal: under 0.2 ms a step. The last line of the output is the figure.

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "controls/FaderControl.h"

namespace {

// Counts the pictures drawn, to show that every step really painted.
class CountingFader : public cs6::FaderControl {
public:
    int paints = 0;

protected:
    void OnAfterDraw() override { ++paints; }
};

class Sink : public QObject {
protected:
    void customEvent(QEvent*) override { ++received; }

public:
    long received = 0;
};

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint pos)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // 19 x 39 dialog units of the part strip's 8-point MS Sans Serif dialog.
    CountingFader fader;
    fader.resize(29, 63);
    Sink sink;
    fader.SetVerticalPosition(0);
    fader.SetScrollSizes(-1, -1);
    fader.SetRange(0, 127, 64);
    fader.notifyTarget = &sink;
    fader.SetValue(64);
    fader.show();
    if (!QTest::qWaitForWindowExposed(&fader)) {
        std::fprintf(stderr, "the fader window was not exposed\n");
        return 1;
    }
    fader.repaint();

    const QPoint press(fader.width() / 2, fader.ThumbY());
    SendMouse(&fader, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, press);

    // Sweep up and down across the whole range, so that every step changes
    // the value, the thumb and the text.
    constexpr int kWarmUp = 500;
    constexpr int kSteps = 20000;
    auto step = [&](int i) {
        const int phase = i % 256;
        const int dy = phase < 128 ? -phase : phase - 256;
        SendMouse(&fader, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + QPoint(0, dy));
    };
    for (int i = 0; i < kWarmUp; ++i)
        step(i);
    QCoreApplication::sendPostedEvents(&sink);

    const int paintsBefore = fader.paints;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSteps; ++i)
        step(i);
    const auto stop = std::chrono::steady_clock::now();
    const int paints = fader.paints - paintsBefore;

    SendMouse(&fader, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, press);
    QCoreApplication::sendPostedEvents(&sink);

    if (paints != kSteps) {
        std::fprintf(stderr, "expected %d paints, got %d\n", kSteps, paints);
        return 1;
    }
    const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
    std::printf("fader %dx%d, %d drag steps, %d paints, %ld messages posted, %.1f ms in all\n", fader.width(),
                fader.height(), kSteps, paints, sink.received, ms);
    std::printf("goal: under 0.2 ms per drag step\n");
    std::printf("%.4f ms per drag step\n", ms / kSteps);
    return 0;
}
