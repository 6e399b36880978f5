// The texts of the four formatters, through the global instances, at the
// edges that no control of ControlTablesTest reaches.

#include "ControlsTestSupport.h"
#include "controls/ValueFormatter.h"

using namespace cs6;
Q_DECLARE_METATYPE(const cs6::ValueFormatter*)

class ValueFormatterTest : public QObject {
    Q_OBJECT

private slots:
    void FormatsTexts_data()
    {
        QTest::addColumn<const ValueFormatter*>("formatter");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        static const DecimalFormatter decimal;
        const ValueFormatter* dec = &decimal;
        const ValueFormatter* bip = &bipolarFormatter;
        const ValueFormatter* sd = &shiftDetuneFormatter;
        const ValueFormatter* note = &noteNameFormatter;
        QTest::newRow("decimal, mode ignored") << dec << 200 << 1 << "200";
        QTest::newRow("decimal negative") << dec << -5 << 0 << "-5";
        QTest::newRow("bipolar 0") << bip << 0 << 0 << "-64";
        QTest::newRow("bipolar 127") << bip << 127 << 3 << "63";
        QTest::newRow("detune 0") << sd << 0 << 1 << "-12.8Hz";
        QTest::newRow("detune 127") << sd << 127 << 1 << "-0.1Hz";
        QTest::newRow("detune 128") << sd << 128 << 1 << "0.0Hz";
        QTest::newRow("detune 255") << sd << 255 << 1 << "12.7Hz";
        QTest::newRow("other mode is empty") << sd << 100 << 2 << "";
        QTest::newRow("note 6") << note << 6 << 0 << "F#-2";
        QTest::newRow("note 59") << note << 59 << 0 << "B2";
        // Below 0 the name wraps instead of reading before the name table.
        QTest::newRow("note -1") << note << -1 << 0 << "B-3";
        QTest::newRow("note -12") << note << -12 << 0 << "C-3";
    }
    void FormatsTexts()
    {
        QFETCH(const ValueFormatter*, formatter);
        QFETCH(int, value);
        QFETCH(int, mode);
        QFETCH(QString, text);
        QCOMPARE(formatter->FormatValue(value, mode), text);
    }
};

CS6_EDITOR_TEST(ValueFormatterTest);
#include "ValueFormatterTest.moc"
