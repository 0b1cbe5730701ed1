#include "chart/LayerRecord.h"

#include <chrono>
#include <random>

namespace kovan {

QString makeLayerKey(int length) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 gen(
        std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> pick(0, 35);
    QString key;
    key.reserve(std::max(length, 0));
    for (int i = 0; i < length; ++i)
        key.append(QLatin1Char(alphabet[pick(gen)]));
    return key;
}

LayerBounds parseLayerStyle(int maxWidth, int maxHeight, const QString& style) {
    Q_UNUSED(maxWidth);
    Q_UNUSED(maxHeight);
    Q_UNUSED(style);
    return {};
}

} // namespace kovan
