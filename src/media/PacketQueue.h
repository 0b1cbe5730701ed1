#pragma once

#include "media/FfmpegHandles.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kovan {

// Compressed packets from the demux thread to one decoder thread, tagged with the seek serial
// they belong to. A packet-less item marks the end of the stream. Bounded: put() waits while
// the queue is full.
//
// Threads: put/flush from the demux thread, get from the decoder thread, abort from any.
// Waits run in short slices and give up when `cancel` answers true (a seek, a stop).
class PacketQueue {
public:
    struct Item {
        AVPacketPtr packet; // null: end of stream
        int serial = 0;
    };

    explicit PacketQueue(size_t maxPackets) : m_maxPackets(maxPackets) {}

    // False when aborted or cancelled before there was room (the item is dropped).
    bool put(Item item, const std::function<bool()>& cancel);
    // False when aborted or cancelled before an item came.
    bool get(Item& out, const std::function<bool()>& cancel);
    void flush();
    void abort();
    size_t size() const;

private:
    const size_t m_maxPackets;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Item> m_items;
    bool m_aborted = false;
};

} // namespace kovan
