#pragma once
// Settings a user could have, for the settings target and its seed: input
// from cs6sim over JACK, output to a CS6x on an ALSA port, thru off.

#include "midi/MidiSettings.h"
#include "midi/PortGuid.h"

namespace cs6::fuzz {

inline MidiSettings SampleSettings()
{
    MidiSettings settings;
    settings.inputEnabled = 1;
    settings.outputEnabled = 1;
    settings.inputPortGuid = PortGuid(kJackKind, "cs6sim:midi_out");
    settings.outputPortGuid = PortGuid(kAlsaKind, "CS6x:CS6x Port 1");
    return settings;
}

} // namespace cs6::fuzz
