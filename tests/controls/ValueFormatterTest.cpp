// The texts of the four formatters, through the global instances, at the
// edges that no control of ControlTablesTest reaches.

#include "ControlsTestSupport.h"
#include "controls/ValueFormatter.h"

using namespace cs6;

class ValueFormatterTest : public QObject {
    Q_OBJECT

private slots:
    void FormatsTexts()
    {
        static const DecimalFormatter decimal;
        const ValueFormatter* dec = &decimal;
        const ValueFormatter* sd = &shiftDetuneFormatter;
        const ValueFormatter* note = &noteNameFormatter;
        const std::tuple<const ValueFormatter*, int, int, QString> rows[] = { // formatter, value, mode, text
            {dec, 200, 1, "200"}, {dec, -5, 0, "-5"}, // the mode ignored
            {&bipolarFormatter, 0, 0, "-64"}, {&bipolarFormatter, 127, 3, "63"},
            {sd, 0, 1, "-12.8Hz"}, {sd, 127, 1, "-0.1Hz"}, {sd, 128, 1, "0.0Hz"}, {sd, 255, 1, "12.7Hz"},
            {sd, 100, 2, ""}, // another mode is empty
            {note, 6, 0, "F#-2"}, {note, 59, 0, "B2"},
            // Below 0 the name wraps instead of reading before the name table.
            {note, -1, 0, "B-3"}, {note, -12, 0, "C-3"}};
        for (const auto& [formatter, value, mode, text] : rows)
            QCOMPARE(formatter->FormatValue(value, mode), text);
    }
};

CS6_EDITOR_TEST(ValueFormatterTest);
#include "ValueFormatterTest.moc"
