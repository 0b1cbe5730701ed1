#include "core/JsonParams.h"

#include <gtest/gtest.h>

using namespace kovan;

TEST(JsonParams, TypedReads) {
    bool ok = false;
    const QJsonObject o = parseJsonObject(
        QByteArray(R"({"s":"abc","n":42,"big":9007199254740993,"neg":-7.9,"str":"123",)"
                   R"("sreal":"1.5","bad":"x1","t":true,"nul":null,"r":0.05,"cn":"中文"})"),
        &ok);
    ASSERT_TRUE(ok);
    struct Case {
        const char* key;
        const char* text;
        qint64 integer;
        double real;
    } const cases[] = {
        {"s", "abc", 0, 0.0},
        {"n", "42", 42, 42.0},
        {"big", "9007199254740993", 9007199254740993LL, 9007199254740992.0},
        {"neg", "-7.9000000000000004", -7, -7.9},
        {"str", "123", 123, 123.0},
        {"sreal", "1.5", 1, 1.5},
        {"bad", "x1", 0, 0.0},
        {"t", "true", 1, 0.0},
        {"nul", "", 0, 0.0},
        {"missing", "", 0, 0.0},
        {"r", "0.050000000000000003", 0, 0.05},
        {"cn", "中文", 0, 0.0},
    };
    for (const Case& c : cases) {
        const QString key = QString::fromLatin1(c.key);
        EXPECT_EQ(jsonText(o, key), QString::fromUtf8(c.text)) << c.key;
        EXPECT_EQ(jsonInt(o, key), c.integer) << c.key;
        EXPECT_DOUBLE_EQ(jsonReal(o, key), c.real) << c.key;
    }
}

TEST(JsonParams, ParseRejectsNonObjects) {
    for (const char* text : {"", "[1,2]", "{broken", "42", "\"s\""}) {
        bool ok = true;
        EXPECT_TRUE(parseJsonObject(QByteArray(text), &ok).isEmpty()) << text;
        EXPECT_FALSE(ok) << text;
    }
}

TEST(JsonParams, CompactJsonOrdersMembersByName) {
    const QJsonObject a = parseJsonObject(QByteArray(R"({"b":1,"a":{"y":2,"x":1}})"));
    const QJsonObject b = parseJsonObject(QByteArray(R"({"a":{"x":1,"y":2},"b":1})"));
    EXPECT_EQ(compactJson(a), compactJson(b));
    EXPECT_EQ(compactJson(a), R"({"a":{"x":1,"y":2},"b":1})");
}
