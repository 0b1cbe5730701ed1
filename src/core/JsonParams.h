#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace kovan {

// Typed reads of page-command parameters and server replies. They never throw:
//  - jsonText: strings as they are, numbers in their shortest form, booleans "true"/"false",
//    missing or null gives the empty text;
//  - jsonInt: signed 64-bit; numbers truncate towards zero, digit strings convert, anything
//    else (missing, non-numeric text) gives 0;
//  - jsonReal: numbers and numeric strings, else 0.0.
QString jsonText(const QJsonObject& o, QStringView key);
qint64 jsonInt(const QJsonObject& o, QStringView key);
double jsonReal(const QJsonObject& o, QStringView key);

// A value as text, for parameters that may come as a string or as the JSON itself: strings as
// they are, numbers, booleans and null as jsonText reads them, objects and arrays as their
// compact JSON text.
QString jsonValueText(const QJsonValue& v);

// Parses a JSON object; anything else (broken text, an array) gives an empty object and
// `ok` false.
QJsonObject parseJsonObject(const QByteArray& utf8, bool* ok = nullptr);
QJsonObject parseJsonObject(const QString& text, bool* ok = nullptr);
// The parameter of a page command that takes a JSON object: throws ConversionError
// ("<command>: parameter is not a JSON object") for anything else, a script error for the page.
QJsonObject commandParamObject(const QString& text, const char* command);

// Compact serialisation; Qt keeps object members in ascending name order, which is the
// order the sync loop compares symbol tables in.
QString compactJson(const QJsonObject& o);

} // namespace kovan
