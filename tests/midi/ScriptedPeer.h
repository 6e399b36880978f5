#pragma once
// An in-process peer that answers a known script and records anything it was
// not told to expect, so a test fails on extra or missing messages.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "midi/InProcessDriver.h"

namespace cs6::test {

using Bytes = std::vector<std::uint8_t>;

class ScriptedPeer : public InProcessPeer {
public:
    // When request arrives, answer with replies (sent at once, in order).
    void Expect(Bytes request, std::vector<Bytes> replies = {})
    {
        std::lock_guard lock(mutex_);
        script_.push_back({std::move(request), std::move(replies)});
    }

    // Sends to the program now, as the instrument would on its own.
    void SendToProgram(const Bytes& message)
    {
        InProcessPeer::Transmit send;
        {
            std::lock_guard lock(mutex_);
            send = transmit_;
        }
        if (send)
            send(message);
    }

    void FromProgram(std::span<const std::uint8_t> message) override
    {
        Bytes bytes(message.begin(), message.end());
        std::vector<Bytes> replies;
        {
            std::lock_guard lock(mutex_);
            received.push_back(bytes);
            if (script_.empty() || script_.front().request != bytes) {
                unexpected.push_back(bytes);
                return;
            }
            replies = std::move(script_.front().replies);
            script_.pop_front();
        }
        for (const auto& reply : replies)
            SendToProgram(reply);
    }

    void SetTransmit(InProcessPeer::Transmit transmit) override
    {
        std::lock_guard lock(mutex_);
        transmit_ = std::move(transmit);
    }

    bool ScriptDone()
    {
        std::lock_guard lock(mutex_);
        return script_.empty();
    }

    std::vector<Bytes> received;
    std::vector<Bytes> unexpected;

private:
    struct Step {
        Bytes request;
        std::vector<Bytes> replies;
    };
    std::mutex mutex_;
    std::deque<Step> script_;
    InProcessPeer::Transmit transmit_;
};

} // namespace cs6::test
