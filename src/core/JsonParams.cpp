#include "core/JsonParams.h"

#include "core/Errors.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <cmath>

namespace kovan {

QString jsonText(const QJsonObject& o, QStringView key) {
    const QJsonValue v = o.value(key);
    switch (v.type()) {
    case QJsonValue::String:
        return v.toString();
    case QJsonValue::Double: {
        const double d = v.toDouble();
        const qint64 i = v.toInteger();
        return double(i) == d ? QString::number(i) : QString::number(d, 'g', 17);
    }
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return {};
    }
}

qint64 jsonInt(const QJsonObject& o, QStringView key) {
    const QJsonValue v = o.value(key);
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (std::trunc(d) == d)
            return v.toInteger(); // exact for 64-bit integers; 0 when out of range
        return std::fabs(d) < 9.2e18 ? qint64(std::trunc(d)) : 0;
    }
    if (v.isString()) {
        const QString s = v.toString().trimmed();
        bool ok = false;
        const qint64 i = s.toLongLong(&ok);
        if (ok)
            return i;
        const double d = s.toDouble(&ok);
        return ok && std::isfinite(d) && std::fabs(d) < 9.2e18 ? qint64(std::trunc(d)) : 0;
    }
    if (v.isBool())
        return v.toBool() ? 1 : 0;
    return 0;
}

double jsonReal(const QJsonObject& o, QStringView key) {
    const QJsonValue v = o.value(key);
    if (v.isDouble())
        return v.toDouble();
    if (v.isString()) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? d : 0.0;
    }
    return 0.0;
}

QString jsonValueText(const QJsonValue& v) {
    if (v.isObject())
        return compactJson(v.toObject());
    if (v.isArray())
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return jsonText(QJsonObject{{QStringLiteral("v"), v}}, u"v");
}

QJsonObject parseJsonObject(const QByteArray& utf8, bool* ok) {
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(utf8, &err);
    const bool good = err.error == QJsonParseError::NoError && doc.isObject();
    if (ok)
        *ok = good;
    return good ? doc.object() : QJsonObject();
}

QJsonObject parseJsonObject(const QString& text, bool* ok) {
    return parseJsonObject(text.toUtf8(), ok);
}

QJsonObject commandParamObject(const QString& text, const char* command) {
    bool ok = false;
    const QJsonObject o = parseJsonObject(text, &ok);
    if (!ok)
        throw ConversionError(std::string(command) + ": parameter is not a JSON object");
    return o;
}

QString compactJson(const QJsonObject& o) {
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

} // namespace kovan
