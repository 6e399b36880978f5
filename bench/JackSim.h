#pragma once
// cs6sim on a JACK server of the benchmark's own, with the editor's side as
// the program has it: midiSystem made with the JACK driver alone and the
// connection opened on cs6sim's two ports. The benchmark links
// cs6::test_support and defines CS6SIM_PATH.

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchLink.h"
#include "midi/MidiSystem.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"

namespace cs6::bench {

struct JackSim {
    // Starts the server and cs6sim (with simArgs) and opens the connection;
    // false, having said why, when either does not come up.
    [[nodiscard]] bool Start(const std::vector<std::string>& simArgs)
    {
        std::string whyNot;
        server = test::JackServer::StartAny(&whyNot);
        if (!server) {
            std::printf("no JACK server: %s\n", whyNot.c_str());
            return false;
        }
        sim = test::ChildProcess::Start(CS6SIM_PATH, simArgs);
        std::string ready;
        if (!sim || !sim->ReadLine(ready, std::chrono::seconds(10))) {
            std::printf("cs6sim did not start\n");
            return false;
        }
        midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{.drivers = {JackMidi("cs6edit")}});
        OpenPorts(PortGuid(kJackKind, "cs6sim:midi_out"), PortGuid(kJackKind, "cs6sim:midi_in"));
        return true;
    }

    std::unique_ptr<test::JackServer> server;
    std::unique_ptr<test::ChildProcess> sim;
};

} // namespace cs6::bench
