#pragma once
// ValueFormatter: turns a fader's integer value into the text shown under its
// track. The four formatters hold no data; every fader embeds its own
// DecimalFormatter, and the other three are shared through the global
// instances below, whose addresses owners hand to FaderControl::SetFormatter.
//
// Thread: any; the formatters are stateless.

#include <QString>

namespace cs6 {

class ValueFormatter {
public:
    virtual ~ValueFormatter() = default;
    virtual QString FormatValue(int value, int mode) const = 0;
};

// "%d" of the value; mode ignored.
class DecimalFormatter : public ValueFormatter {
public:
    QString FormatValue(int value, int mode) const override;
};

// "%d" of value - 64, for parameters centred on 64; mode ignored.
class BipolarFormatter : public ValueFormatter {
public:
    QString FormatValue(int value, int mode) const override;
};

// Mode 0: note shift, "%d" of value - 64.
// Mode 1: detune, "%.1fHz" of (value - 128) x 0.0078125 x 12.8 (0 gives
// -12.8Hz, 128 gives 0.0Hz, 255 gives 12.7Hz). Any other mode: empty text.
class ShiftDetuneFormatter : public ValueFormatter {
public:
    QString FormatValue(int value, int mode) const override;
};

// Note name and octave, middle C (60) being C3: 0 gives C-2, 127 gives G8.
// Mode ignored.
class NoteNameFormatter : public ValueFormatter {
public:
    QString FormatValue(int value, int mode) const override;
};

extern const ShiftDetuneFormatter shiftDetuneFormatter;
extern const NoteNameFormatter noteNameFormatter;
extern const BipolarFormatter bipolarFormatter;

} // namespace cs6
