// cs6settings: writes a "settings.dat" that names MIDI ports, for setting up
// a run folder or a test without opening the editor.
//   cs6settings FILE INPUT OUTPUT
// INPUT and OUTPUT are kind:name, e.g. emulated:"Emulated CS6x" or
// jack:cs6sim:midi_out (the port the editor reads from) and
// jack:cs6sim:midi_in (the port it sends to).
#include <cstdio>
#include <string>

#include "framework/FileIo.h"
#include "midi/MidiSettings.h"
#include "midi/PortGuid.h"

namespace {

bool Guid(const std::string& port, QUuid& guid)
{
    const auto colon = port.find(':');
    if (colon == std::string::npos)
        return false;
    guid = cs6::PortGuid(port.substr(0, colon), port.substr(colon + 1));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: cs6settings FILE INPUT OUTPUT  (ports as kind:name, e.g. \"emulated:Emulated CS6x\")\n");
        return 2;
    }
    cs6::MidiSettings settings;
    if (!Guid(argv[2], settings.inputPortGuid) || !Guid(argv[3], settings.outputPortGuid)) {
        std::fprintf(stderr, "cs6settings: a port is written kind:name\n");
        return 2;
    }
    settings.inputEnabled = 1;
    settings.outputEnabled = 1;
    try {
        cs6::WriteFileAtomically(argv[1], cs6::SerializeMidiSettings(settings));
    } catch (const cs6::FileError& error) {
        std::fprintf(stderr, "cs6settings: %s\n", error.what());
        return 1;
    }
    return 0;
}
