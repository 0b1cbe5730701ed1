#include "core/Utils.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QTimer>

#include <cstring>
#include <elf.h>

namespace kovan {

QString orderTypeName(const QString& orderType) {
    static const std::pair<const char16_t*, const char16_t*> table[] = {
        {u"SELL", u"市价卖出"},      {u"BUY", u"市价买入"},       {u"SELL LIMIT", u"高位卖出"},
        {u"SELL STOP", u"低位杀跌"}, {u"BUY LIMIT", u"低位买入"}, {u"BUY STOP", u"高位追涨"},
    };
    for (const auto& [type, label] : table)
        if (orderType == QStringView(type))
            return QString::fromUtf16(label);
    return {};
}

namespace {

// Reads a plain-old-data value at `offset`, or returns false when it lies outside the data.
template <typename T> bool readAt(const uchar* data, qint64 size, quint64 offset, T& out) {
    if (offset > quint64(size) || quint64(size) - offset < sizeof(T))
        return false;
    std::memcpy(&out, data + offset, sizeof(T));
    return true;
}

constexpr quint32 kPackageNoteType = 0xcafe1a7e;

// Walks the notes of one SHT_NOTE section and returns the package-metadata payload.
QByteArray packageNote(const uchar* data, qint64 size, quint64 offset, quint64 length) {
    if (offset > quint64(size) || quint64(size) - offset < length)
        return {};
    const auto align4 = [](quint64 v) { return (v + 3) & ~quint64(3); };
    quint64 pos = offset;
    const quint64 end = offset + length;
    while (end - pos >= 12) {
        quint32 nameSize = 0, descSize = 0, type = 0;
        readAt(data, size, pos, nameSize);
        readAt(data, size, pos + 4, descSize);
        readAt(data, size, pos + 8, type);
        const quint64 namePos = pos + 12;
        const quint64 descPos = namePos + align4(nameSize);
        if (descPos > end || end - descPos < descSize)
            return {};
        if (type == kPackageNoteType && nameSize == 4 &&
            std::memcmp(data + namePos, "FDO", 4) == 0) {
            const char* desc = reinterpret_cast<const char*>(data + descPos);
            return QByteArray(desc, qstrnlen(desc, descSize));
        }
        pos = descPos + align4(descSize);
    }
    return {};
}

template <typename Ehdr, typename Shdr> QByteArray findPackageNote(const uchar* data, qint64 size) {
    Ehdr eh;
    if (!readAt(data, size, 0, eh) || eh.e_shentsize != sizeof(Shdr))
        return {};
    for (quint32 i = 0; i < eh.e_shnum; ++i) {
        Shdr sh;
        if (!readAt(data, size, eh.e_shoff + quint64(i) * sizeof(Shdr), sh))
            return {};
        if (sh.sh_type != SHT_NOTE)
            continue;
        QByteArray note = packageNote(data, size, sh.sh_offset, sh.sh_size);
        if (!note.isEmpty())
            return note;
    }
    return {};
}

} // namespace

QString getFileVersion(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < EI_NIDENT)
        return {};
    const qint64 size = file.size();
    const uchar* data = file.map(0, size);
    if (!data)
        return {};
    if (std::memcmp(data, ELFMAG, SELFMAG) != 0 || data[EI_DATA] != ELFDATA2LSB)
        return {};
    QByteArray json;
    if (data[EI_CLASS] == ELFCLASS64)
        json = findPackageNote<Elf64_Ehdr, Elf64_Shdr>(data, size);
    else if (data[EI_CLASS] == ELFCLASS32)
        json = findPackageNote<Elf32_Ehdr, Elf32_Shdr>(data, size);
    if (json.isEmpty())
        return {};
    const QJsonValue version = QJsonDocument::fromJson(json).object().value(u"version");
    return version.isString() ? version.toString() : QString();
}

void waitWithMessages(int ms) {
    if (ms <= 0)
        return;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!QCoreApplication::instance() || !dispatcher) {
        QThread::msleep(ms);
        return;
    }
    // A nested loop that a single-shot timer ends: events keep flowing and the wait ends on
    // time whatever arrives meanwhile.
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QStringList splitStr(const QString& s, const QString& delimiter) {
    if (delimiter.isEmpty())
        return {s};
    return s.split(delimiter, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString weekdayName(const QDate& date) {
    static const char16_t* names[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                      u"星期五", u"星期六", u"星期天"};
    const int dow = date.dayOfWeek(); // 1 = Monday … 7 = Sunday
    return dow >= 1 && dow <= 7 ? QString::fromUtf16(names[dow - 1]) : QString();
}

QString weekdayName() {
    return weekdayName(QDate::currentDate());
}

} // namespace kovan
