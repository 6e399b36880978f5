// Runs the Qt Test classes of the controls and the editor, on the offscreen
// platform unless another is chosen: all of them, or those whose names come
// first on the command line (the other arguments go to Qt Test). The exit
// status counts the failures.
#include <QApplication>

#include <set>
#include <string>

#include "tests/editor/EditorFixture.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto& tests = cs6::test::EditorTests();
    std::set<std::string> chosen;
    int i = 1;
    while (i < argc && std::ranges::any_of(tests, [&](const auto& test) { return test.name == std::string(argv[i]); }))
        chosen.insert(argv[i++]);
    std::vector<char*> rest{argv[0]};
    rest.insert(rest.end(), argv + i, argv + argc);
    int failed = 0;
    for (const auto& test : tests)
        if (chosen.empty() || chosen.contains(test.name))
            failed += test.run(static_cast<int>(rest.size()), rest.data());
    return failed;
}
