#pragma once
// Where whole-sound requests get their bulk replies: the reply collector of
// the MIDI transport in the program, a scripted source in tests.
//
// Thread: the user-interface thread.

#include <cstdint>
#include <vector>

namespace cs6 {

class ReplySource {
public:
    virtual ~ReplySource() = default;

    // Drops anything queued and starts counting towards expectedCount. Called
    // before the request is sent, so no reply can arrive uncounted.
    virtual void Arm(int expectedCount) = 0;

    // Blocks until the armed number of SysEx messages arrived or reply input
    // stayed idle for the timeout; returns them in arrival order.
    virtual std::vector<std::vector<std::uint8_t>> WaitForReplies() = 0;
};

} // namespace cs6
