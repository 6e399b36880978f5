// Runs every registered control test class, on the offscreen platform unless
// another is chosen; the exit status counts the failed tests.

#include "ControlsTestSupport.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failed = 0;
    for (const cs6::test::TestRun run : cs6::test::TestRuns())
        failed += run(argc, argv);
    return failed;
}
