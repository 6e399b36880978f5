#pragma once
// A single-producer, single-consumer ring of records for handing MIDI
// messages to and from JACK's real-time thread: no locks, no allocation after
// construction. A record (a small header and its bytes) becomes visible to
// the reader only when it is whole.
//
// Not libjack's jack_ringbuffer_t: the libjack 1.9.21 we build against moves
// its read and write positions with plain stores, without release and acquire
// ordering, so on a weakly ordered processor (arm64) a reader can see a
// position before the bytes behind it; and ThreadSanitizer cannot see its
// synchronisation, where it checks this ring's.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

namespace cs6 {

class ByteRing {
public:
    // capacity must be a power of two. Its pages are touched only as records
    // reach them.
    explicit ByteRing(std::size_t capacity)
        : buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity)), mask_(capacity - 1)
    {
    }

    // Writer: appends header and payload as one record; false when it does not fit.
    template <typename Header>
    bool Write(const Header& header, std::span<const std::uint8_t> payload)
    {
        const std::size_t write = write_.load(std::memory_order_relaxed);
        const std::size_t read = read_.load(std::memory_order_acquire);
        const std::size_t total = sizeof header + payload.size();
        if (total > mask_ + 1 - (write - read))
            return false;
        CopyIn(write, &header, sizeof header);
        CopyIn(write + sizeof header, payload.data(), payload.size());
        write_.store(write + total, std::memory_order_release);
        return true;
    }

    // Reader: the header of the next whole record, if there is one.
    template <typename Header>
    bool Peek(Header& header) const
    {
        const std::size_t read = read_.load(std::memory_order_relaxed);
        const std::size_t available = write_.load(std::memory_order_acquire) - read;
        if (available < sizeof header)
            return false;
        CopyOut(read, &header, sizeof header);
        return true;
    }

    // Reader: takes the record whose header Peek returned, copying its
    // payload (payloadSize bytes) to target.
    template <typename Header>
    void Take(std::size_t payloadSize, std::uint8_t* target)
    {
        const std::size_t read = read_.load(std::memory_order_relaxed);
        CopyOut(read + sizeof(Header), target, payloadSize);
        read_.store(read + sizeof(Header) + payloadSize, std::memory_order_release);
    }

private:
    void CopyIn(std::size_t at, const void* source, std::size_t size)
    {
        const auto* from = static_cast<const std::uint8_t*>(source);
        for (std::size_t i = 0; i < size; ++i)
            buffer_[(at + i) & mask_] = from[i];
    }

    void CopyOut(std::size_t at, void* target, std::size_t size) const
    {
        auto* to = static_cast<std::uint8_t*>(target);
        for (std::size_t i = 0; i < size; ++i)
            to[i] = buffer_[(at + i) & mask_];
    }

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t mask_;
    std::atomic<std::size_t> write_{0};
    std::atomic<std::size_t> read_{0};
};

} // namespace cs6
