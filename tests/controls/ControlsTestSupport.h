#pragma once
// Helpers for the Qt Test classes: the registry of the classes that the one
// executable runs, and mouse and wheel events with exact button states.

#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

// Registers a Qt Test class with the one Qt Test executable, which runs them
// all, or those named as its first arguments.
#define CS6_EDITOR_TEST(TestClass)                                                                               \
    static const bool registered##TestClass = (cs6::test::EditorTests().push_back(                              \
        {#TestClass, [](int argc, char** argv) { TestClass test; return QTest::qExec(&test, argc, argv); }}), true)

namespace cs6::test {

struct EditorTestClass { const char* name; int (*run)(int argc, char** argv); };
inline std::vector<EditorTestClass>& EditorTests()
{
    static std::vector<EditorTestClass> tests;
    return tests;
}

inline void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint pos)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
inline void Press(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons held = {})
{ SendMouse(w, QEvent::MouseButtonPress, button, held | button, pos); }
inline void Release(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons held = {})
{ SendMouse(w, QEvent::MouseButtonRelease, button, held, pos); }
inline void Move(QWidget* w, QPoint pos, Qt::MouseButtons held = Qt::LeftButton)
{ SendMouse(w, QEvent::MouseMove, Qt::NoButton, held, pos); }
inline void Wheel(QWidget* w, int delta)
{
    const QPointF pos(w->rect().center());
    QWheelEvent event(pos, QPointF(w->mapToGlobal(pos.toPoint())), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

} // namespace cs6::test
