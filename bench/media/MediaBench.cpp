// The video player's costs: decoding + filtering + converting one picture to RGB32 (the demo
// video's 640×360 and a 720p30 file), the delay from the 524289th byte of a download to the
// first picture, and whether a 720p30 file keeps up in real time (pictures shown, CPU used).
#include "audio/AudioOutput.h"
#include "ClipMaker.h"
#include "media/GrowingFile.h"
#include "media/PlaybackSession.h"
#include "media/VideoDecoder.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace kovan;

namespace {

const QString kFilters = QStringLiteral("hue=b=0:s=1:H=0");

// Clips made once and kept in the temporary folder between runs.
QString clipPath(int width, int height, int fps, double seconds, int bitRate) {
    const QString path = QDir::tempPath() + QStringLiteral("/kovan-bench-%1x%2p%3-%4s-%5.mp4")
                                                .arg(width)
                                                .arg(height)
                                                .arg(fps)
                                                .arg(seconds)
                                                .arg(bitRate);
    if (!QFile::exists(path)) {
        clip::ClipSpec shape;
        shape.width = width;
        shape.height = height;
        shape.fps = fps;
        shape.seconds = seconds;
        shape.videoBitRate = bitRate;
        const std::string part = path.toStdString() + ".part";
        if (!clip::writeClip(shape, part).empty())
            return {};
        std::filesystem::rename(part, path.toStdString());
    }
    return path;
}

QString demoClip() {
    return clipPath(640, 360, 25, 6, 1000000);
}
QString hdClip() {
    return clipPath(1280, 720, 30, 6, 3000000);
}

// Every picture of `path` through decoder, filters and conversion, per iteration.
void decodeAll(benchmark::State& state, const QString& path) {
    AVFormatContext* raw = nullptr;
    if (path.isEmpty() ||
        avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) {
        state.SkipWithError("clip not made");
        return;
    }
    AVFormatContextPtr format(raw);
    avformat_find_stream_info(format.get(), nullptr);
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    int64_t frames = 0;
    AVPacketPtr packet(av_packet_alloc());
    for (auto _ : state) {
        VideoDecoder decoder;
        if (!decoder.open(format->streams[index], kFilters)) {
            state.SkipWithError("no decoder");
            return;
        }
        av_seek_frame(format.get(), -1, 0, AVSEEK_FLAG_BACKWARD);
        const auto drain = [&] {
            AVFrame* f = nullptr;
            qint64 pts = 0;
            while (decoder.receive(f, pts)) {
                benchmark::DoNotOptimize(decoder.toImage(f).constBits());
                ++frames;
            }
        };
        while (av_read_frame(format.get(), packet.get()) >= 0) {
            if (packet->stream_index == index) {
                decoder.send(packet.get());
                drain();
            }
            av_packet_unref(packet.get());
        }
        decoder.send(nullptr);
        drain();
    }
    state.SetItemsProcessed(frames);
    // Wall time per picture (the decoder runs threads of its own): "2.4m" is 2.4 ms.
    state.counters["per_picture"] = benchmark::Counter(
        double(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DecodeConvert640x360(benchmark::State& state) {
    decodeAll(state, demoClip());
}
BENCHMARK(BM_DecodeConvert640x360)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DecodeConvert1280x720(benchmark::State& state) {
    decodeAll(state, hdClip());
}
BENCHMARK(BM_DecodeConvert1280x720)->UseRealTime()->Unit(benchmark::kMillisecond);

// A download in progress: the clip's first 524289 bytes are in the cache file, the rest
// arrives at 1 MB/s. Time from opening the player to its first picture.
void BM_FirstPictureAfterStartMark(benchmark::State& state) {
    QFile source(demoClip());
    if (!source.open(QIODevice::ReadOnly)) {
        state.SkipWithError("clip not made");
        return;
    }
    const QByteArray bytes = source.readAll();
    const QString cache = QDir::tempPath() + QStringLiteral("/kovan-bench-cache.mp4");
    for (auto _ : state) {
        auto file = std::make_shared<GrowingFile>();
        file->create(cache);
        file->announce(bytes.size());
        file->append(bytes.constData(), 524289);
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            qint64 at = 524289;
            while (!stop && at < bytes.size()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(62));
                const qint64 n = std::min<qint64>(65536, bytes.size() - at);
                file->append(bytes.constData() + at, n);
                at += n;
            }
            file->finish(true);
        });
        std::mutex mutex;
        std::condition_variable shown;
        bool first = false;
        Playback::Events events;
        events.opened = [](qint64, int, int) {};
        events.failed = [](const QString&) {};
        events.position = [](qint64) {};
        events.ended = [] {};
        events.frame = [&] {
            std::lock_guard lock(mutex);
            first = true;
            shown.notify_all();
        };
        Playback::Options options;
        options.videoFilters = kFilters;
        const auto started = std::chrono::steady_clock::now();
        {
            PlaybackSession session(file, options, events);
            session.start();
            std::unique_lock lock(mutex);
            shown.wait_for(lock, std::chrono::seconds(10), [&] { return first; });
            state.SetIterationTime(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        }
        stop = true;
        writer.join();
    }
}
BENCHMARK(BM_FirstPictureAfterStartMark)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The 720p30 clip played in real time (with its sound on the audio output when there is one):
// pictures shown against pictures in the file, and the process's CPU time per second played.
void BM_RealTime1280x720p30(benchmark::State& state) {
    const QString path = hdClip();
    if (path.isEmpty()) {
        state.SkipWithError("clip not made");
        return;
    }
    for (auto _ : state) {
        auto file = std::make_shared<GrowingFile>();
        file->openComplete(path);
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
        std::atomic<int> shown{0};
        Playback::Events events;
        events.opened = [](qint64, int, int) {};
        events.failed = [&](const QString&) {
            std::lock_guard lock(mutex);
            done = true;
            ended.notify_all();
        };
        events.position = [](qint64) {};
        events.frame = [&] { ++shown; };
        events.ended = [&] {
            std::lock_guard lock(mutex);
            done = true;
            ended.notify_all();
        };
        Playback::Options options;
        options.videoFilters = kFilters;
        options.openAudio = []() -> std::unique_ptr<AudioChannel> {
            return AudioOutput::instance().open();
        };
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        const auto started = std::chrono::steady_clock::now();
        {
            PlaybackSession session(file, options, events);
            session.start();
            std::unique_lock lock(mutex);
            ended.wait_for(lock, std::chrono::seconds(30), [&] { return done; });
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        getrusage(RUSAGE_SELF, &after);
        const auto secs = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
        const double cpu = secs(after.ru_utime) - secs(before.ru_utime) + secs(after.ru_stime) -
                           secs(before.ru_stime);
        state.SetIterationTime(wall);
        state.counters["pictures_shown"] = shown.load();
        state.counters["pictures_in_file"] = 6 * 30;
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_RealTime1280x720p30)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
