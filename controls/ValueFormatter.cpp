#include "controls/ValueFormatter.h"

#include <array>

namespace cs6 {

const ShiftDetuneFormatter shiftDetuneFormatter;
const NoteNameFormatter noteNameFormatter;
const BipolarFormatter bipolarFormatter;

QString DecimalFormatter::FormatValue(int value, int /*mode*/) const
{
    return QString::number(value);
}

QString BipolarFormatter::FormatValue(int value, int /*mode*/) const
{
    return QString::number(value - 64);
}

QString ShiftDetuneFormatter::FormatValue(int value, int mode) const
{
    switch (mode) {
    case 0:
        return QString::number(value - 64);
    case 1:
        // One step of the detune byte is 0.1 Hz; 128 is no detune.
        return QString::asprintf("%.1fHz", (value - 128) * 0.0078125 * 12.8);
    default:
        return {};
    }
}

QString NoteNameFormatter::FormatValue(int value, int /*mode*/) const
{
    static constexpr std::array<const char*, 12> kNames = {
        "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B",
    };
    // Floored division, so that a value below 0 still names a note (-1 is
    // B-3) instead of indexing before the table.
    int octave = value / 12;
    int note = value % 12;
    if (note < 0) {
        note += 12;
        --octave;
    }
    return QString::asprintf("%s%d", kNames[static_cast<std::size_t>(note)], octave - 2);
}

} // namespace cs6
