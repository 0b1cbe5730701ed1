// The page server's demo videos: "/filelist/video/gold-weekly.mp4" (the notice's and the
// articles' video) and "/filelist/video/silver-tips.mp4". Each is a generated 20 s clip,
// 640×360 H.264 + AAC with its index at the front, made once on first start into a private
// folder of the account's in the temporary folder (videoFolder) and served with its
// Content-Length at about 1 MB/s, so the client's position bar visibly fills while the video
// already plays.

#include "ClipMaker.h"
#include "DemoService.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <memory>
#include <thread>

namespace demo {

namespace {

// 64 KiB every 62 ms: about one megabyte per second.
constexpr size_t kChunk = 64 * 1024;
constexpr std::chrono::milliseconds kChunkEvery(62);

std::string makeVideo(const std::string& folder, const std::string& name, int pattern) {
    namespace fs = std::filesystem;
    const fs::path path = fs::path(folder) / ("v1-" + name);
    std::error_code ec;
    if (!fs::exists(path, ec) || fs::file_size(path, ec) == 0) {
        kovan::clip::ClipSpec shape;
        shape.pattern = pattern;
        const fs::path part = path.string() + ".part";
        const std::string error = kovan::clip::writeClip(shape, part.string());
        if (!error.empty()) {
            std::fprintf(stderr, "kovan-demo-service: video %s not made (%s)\n", name.c_str(),
                         error.c_str());
            return {};
        }
        fs::rename(part, path, ec);
    }
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

void registerVideoRoutes(httplib::Server& server) {
    // Made on a thread of their own; a request that comes earlier waits for them.
    auto videos = std::make_shared<std::shared_future<std::map<std::string, std::string>>>(
        std::async(std::launch::async, [] {
            std::map<std::string, std::string> made;
            std::string problem;
            const std::string folder =
                videoFolder(std::filesystem::temp_directory_path().string(), &problem);
            if (folder.empty()) {
                std::fprintf(stderr, "kovan-demo-service: no videos (%s)\n", problem.c_str());
                return made;
            }
            made["gold-weekly.mp4"] = makeVideo(folder, "gold-weekly.mp4", 0);
            made["silver-tips.mp4"] = makeVideo(folder, "silver-tips.mp4", 1);
            return made;
        }).share());
    server.Get(R"(/{1,2}filelist/video/([^/]+))",
               [videos](const httplib::Request& req, httplib::Response& res) {
                   const auto& made = videos->get();
                   const auto it = made.find(req.matches[1].str());
                   if (it == made.end() || it->second.empty()) {
                       res.status = 404;
                       res.set_content("no such video", "text/plain");
                       return;
                   }
                   auto bytes = std::make_shared<const std::string>(it->second);
                   res.set_content_provider(
                       bytes->size(), "video/mp4",
                       [bytes](size_t offset, size_t length, httplib::DataSink& sink) {
                           std::this_thread::sleep_for(kChunkEvery);
                           return sink.write(bytes->data() + offset, std::min(length, kChunk));
                       });
               });
}

} // namespace demo
