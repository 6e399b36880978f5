// Runs the Qt Test classes of the controls and the editor, on the offscreen
// platform unless another is chosen: all of them, or those whose names come
// first on the command line (the other arguments go to Qt Test). The exit
// status counts the failures.
#include <QApplication>

#include <cstring>

#include "tests/editor/EditorFixture.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto& tests = cs6::test::EditorTests();
    auto isClass = [&](const char* name) {
        return std::any_of(tests.begin(), tests.end(), [&](const auto& t) { return std::strcmp(t.name, name) == 0; });
    };
    std::vector<char*> chosen;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i)
        (chosen.size() + 1 == static_cast<std::size_t>(i) && isClass(argv[i]) ? chosen : rest).push_back(argv[i]);
    int failed = 0;
    for (const auto& test : tests) {
        const bool wanted = chosen.empty() || std::any_of(chosen.begin(), chosen.end(), [&](const char* name) {
                                return std::strcmp(name, test.name) == 0;
                            });
        if (wanted)
            failed += test.run(static_cast<int>(rest.size()), rest.data());
    }
    return failed;
}
