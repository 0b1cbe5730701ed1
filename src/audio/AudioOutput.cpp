#include "audio/AudioOutput.h"

#include "audio/SoundBackend.h"

#include <algorithm>
#include <cstring>

namespace kovan {

AudioOutput& AudioOutput::instance() {
    static AudioOutput out;
    return out;
}

AudioOutput::~AudioOutput() {
    std::lock_guard lock(m_deviceMutex);
    if (m_device)
        m_backend->closeDevice(m_device);
    m_device = 0;
}

std::unique_ptr<AudioOutput::Channel> AudioOutput::open() {
    std::lock_guard lock(m_deviceMutex);
    if (!m_device) {
        // The sound library is loaded with the first channel anybody asks for.
        m_backend = SoundBackend::get();
        if (!m_backend)
            return nullptr;
        m_device = m_backend->openDevice(&AudioOutput::mix, this, kBufferSamples);
        if (!m_device)
            return nullptr;
    }
    ++m_users;
    std::unique_ptr<Channel> channel(new Channel(*this));
    std::lock_guard mixLock(m_mixMutex);
    m_channels.push_back(channel.get());
    return channel;
}

void AudioOutput::release(Channel* channel) {
    {
        std::lock_guard mixLock(m_mixMutex);
        m_channels.erase(std::remove(m_channels.begin(), m_channels.end(), channel),
                         m_channels.end());
    }
    std::lock_guard lock(m_deviceMutex);
    // Closing waits for a running callback; the mix lock is not held here.
    if (--m_users == 0 && m_device) {
        m_backend->closeDevice(m_device);
        m_device = 0;
    }
}

void AudioOutput::mix(void* user, std::uint8_t* stream, int len) {
    auto* self = static_cast<AudioOutput*>(user);
    std::memset(stream, 0, size_t(len));
    auto* out = reinterpret_cast<qint16*>(stream);
    const int samples = len / 2;
    std::lock_guard lock(self->m_mixMutex);
    for (Channel* c : self->m_channels) {
        if (c->m_paused)
            continue;
        const qsizetype available = c->m_queue.size() - c->m_readPos;
        const int take = int(std::min<qsizetype>(available, qsizetype(samples) * 2)) & ~3;
        const auto* in = reinterpret_cast<const qint16*>(c->m_queue.constData() + c->m_readPos);
        for (int i = 0; i < take / 2; ++i)
            out[i] = qint16(std::clamp(int(out[i]) + int(in[i]), -32768, 32767));
        c->m_readPos += take;
        c->m_played += take / kBytesPerFrame;
        if (c->m_readPos == c->m_queue.size()) {
            c->m_queue.clear();
            c->m_readPos = 0;
        }
    }
}

AudioOutput::Channel::~Channel() {
    m_out.release(this);
}

void AudioOutput::Channel::push(const char* pcm, qsizetype bytes) {
    std::lock_guard lock(m_out.m_mixMutex);
    // Keep the buffer from growing without end: drop what the device has taken.
    if (m_readPos > 0 && m_readPos >= m_queue.size() / 2) {
        m_queue.remove(0, m_readPos);
        m_readPos = 0;
    }
    m_queue.append(pcm, bytes - bytes % kBytesPerFrame);
}

void AudioOutput::Channel::clear() {
    std::lock_guard lock(m_out.m_mixMutex);
    m_queue.clear();
    m_readPos = 0;
}

void AudioOutput::Channel::setPaused(bool paused) {
    std::lock_guard lock(m_out.m_mixMutex);
    m_paused = paused;
}

qint64 AudioOutput::Channel::queuedBytes() const {
    std::lock_guard lock(m_out.m_mixMutex);
    return m_queue.size() - m_readPos;
}

qint64 AudioOutput::Channel::playedFrames() const {
    std::lock_guard lock(m_out.m_mixMutex);
    return m_played;
}

} // namespace kovan
