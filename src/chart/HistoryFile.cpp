#include "chart/HistoryFile.h"

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace kovan {

namespace {

// One mutex per history path, for the life of the process. Two charts of the same symbol and
// period therefore never write (or read half of) the same file at once.
std::mutex& pathLock(const QString& path) {
    static std::mutex registryLock;
    static std::map<QString, std::unique_ptr<std::mutex>> locks;
    const QString key = QFileInfo(path).absoluteFilePath();
    std::lock_guard guard(registryLock);
    auto& slot = locks[key];
    if (!slot)
        slot = std::make_unique<std::mutex>();
    return *slot;
}

void ensureFolder(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!makeFolders(folder))
        throw FileOpenError("cannot create folder " + folder.toStdString());
}

float floatAt(const char* p) {
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void putFloat(char* p, float f) {
    quint32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    qToLittleEndian<quint32>(bits, p);
}

} // namespace

QString trimCode(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

QString historyFilePath(const QString& dir, const QString& symbol, const QString& period) {
    return dir + QStringLiteral("history/") + trimCode(symbol) + QLatin1Char('_') +
           trimCode(period) + QStringLiteral(".dat");
}

void parseHistoryBytes(const QByteArray& bytes, ChartDataList& out) {
    constexpr qsizetype rec = sizeof(ChartDataListRecord);
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    out.reserve(out.size() + size_t((size + rec - 1) / rec));
    char buf[rec];
    for (qsizetype pos = 0; pos < size; pos += rec) {
        const char* p = data + pos;
        if (size - pos < rec) { // the short trailing piece: read what is there, rest zero
            std::memset(buf, 0, sizeof buf);
            std::memcpy(buf, p, size_t(size - pos));
            p = buf;
        }
        ChartDataListRecord r;
        r.dl = qFromLittleEndian<qint32>(p);
        r.open = floatAt(p + 4);
        r.close = floatAt(p + 8);
        r.low = floatAt(p + 12);
        r.high = floatAt(p + 16);
        if (r.dl > 0 && r.open > 0 && r.close > 0)
            out.push_back(r);
    }
}

QByteArray historyBytes(const ChartDataList& bars) {
    QByteArray bytes(qsizetype(bars.size() * sizeof(ChartDataListRecord)), Qt::Uninitialized);
    char* p = bytes.data();
    for (const ChartDataListRecord& r : bars) {
        qToLittleEndian<qint32>(r.dl, p);
        putFloat(p + 4, r.open);
        putFloat(p + 8, r.close);
        putFloat(p + 12, r.low);
        putFloat(p + 16, r.high);
        p += sizeof(ChartDataListRecord);
    }
    return bytes;
}

void loadHistoryFile(const QString& path, ChartDataList& out) {
    std::lock_guard guard(pathLock(path));
    if (const std::optional<QByteArray> bytes = readOwnFile(path, kMaxHistoryBytes))
        parseHistoryBytes(*bytes, out);
}

void loadHistoryFile(const QString& path, SharedChartDataList& out) {
    loadHistoryFile(path, out.edit());
}

void saveHistoryFile(const QString& path, const ChartDataList& bars) {
    const QByteArray bytes = historyBytes(bars);
    std::lock_guard guard(pathLock(path));
    ensureFolder(path);
    if (!writeFileAtomically(path, bytes))
        throw FileOpenError("cannot write " + path.toStdString());
}

void loadLocalHistory(ChartDataInfoRecord& rec, const QString& dir, const QString& sym,
                      const QString& ped) {
    rec.setSymbol(sym);
    rec.setPeriod(ped);
    rec.datalist.clear();
    const QString path = historyFilePath(dir, rec.symbol, rec.period);
    {
        // The folder is created by loading too, so that a first save never races a missing
        // folder.
        std::lock_guard guard(pathLock(path));
        ensureFolder(path);
    }
    loadHistoryFile(path, rec.datalist);
}

void saveLocalHistory(const ChartDataInfoRecord& rec, const QString& dir) {
    saveHistoryFile(historyFilePath(dir, rec.symbol, rec.period), rec.datalist);
}

} // namespace kovan
