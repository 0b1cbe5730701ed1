// alerts.dat: what is written is read back as it was, the file is the user's alone, and a file
// that is not ours in every detail is refused as a whole.

#include "AlertTestSupport.h"

#include "alerts/AlertFile.h"

#include "Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(AlertFile, WhatIsWrittenIsReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("alerts.dat");
    std::vector<PriceAlert> alerts{alert("XAU", 2050.35, Rise, false, "止盈 \"一\"\n第二行"),
                                   alert("EURUSD", 1.08532, Fall, true),
                                   alert("XAGRMB", 5632, Rise)};
    alerts[1].state = AlertState::Triggered;
    alerts[1].triggeredAtMs = 1700000000123;
    alerts[2].enabled = false;
    QString error;
    ASSERT_TRUE(alertfile::write(path, alerts, &error)) << error.toStdString();
    EXPECT_EQ(test::modeOf(path), 0600);

    const alertfile::ReadResult r = alertfile::read(path);
    ASSERT_EQ(r.status, alertfile::ReadResult::Status::Read) << r.problem.toStdString();
    ASSERT_EQ(r.alerts.size(), alerts.size());
    for (size_t i = 0; i < alerts.size(); ++i)
        EXPECT_EQ(r.alerts[i], alerts[i]) << i; // ids are the book's, 0 on both sides here
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"alerts.dat"});
}

TEST(AlertFile, TheFieldsAreTheDocumentedOnes) {
    PriceAlert a = alert("XAU", 2050.5, Fall, true, "止损");
    a.state = AlertState::Triggered;
    a.triggeredAtMs = 1700000000123;
    const QJsonObject root = QJsonDocument::fromJson(alertfile::encode({a})).object();
    EXPECT_EQ(root.value("format").toInt(), 1);
    const QJsonObject o = root.value("alerts").toArray().at(0).toObject();
    EXPECT_EQ(o.keys(), (QStringList{"direction", "enabled", "note", "price", "repeat", "state",
                                     "symbol", "triggeredAt"}));
    EXPECT_EQ(o.value("direction").toString(), "fall");
    EXPECT_EQ(o.value("state").toString(), "triggered");
    EXPECT_EQ(o.value("triggeredAt").toString(), "2023-11-14T22:13:20.123Z");
    EXPECT_EQ(o.value("price").toDouble(), 2050.5);
}

TEST(AlertFile, OptionalFieldsTakeTheirDefaults) {
    std::vector<PriceAlert> alerts;
    QString problem;
    ASSERT_TRUE(alertfile::decode(
        R"({"format":1,"alerts":[{"symbol":"XAU","price":2050,"direction":"rise"}]})", alerts,
        &problem))
        << problem.toStdString();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], alert("XAU", 2050, Rise));
}

TEST(AlertFile, AnythingElseIsABadFile) {
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"garbage", QByteArray("\x01\x02 not json", 11)},
        {"empty", ""},
        {"an array", "[]"},
        {"another format", R"({"format":2,"alerts":[]})"},
        {"no format", R"({"alerts":[]})"},
        {"no alerts", R"({"format":1})"},
        {"an entry that is no object", R"({"format":1,"alerts":[3]})"},
        {"no symbol", R"({"format":1,"alerts":[{"price":1,"direction":"rise"}]})"},
        {"a price of 0", R"({"format":1,"alerts":[{"symbol":"X","price":0,"direction":"rise"}]})"},
        {"a price as text",
         R"({"format":1,"alerts":[{"symbol":"X","price":"1","direction":"rise"}]})"},
        {"another direction",
         R"({"format":1,"alerts":[{"symbol":"X","price":1,"direction":"up"}]})"},
        {"repeat as text",
         R"({"format":1,"alerts":[{"symbol":"X","price":1,"direction":"fall","repeat":"yes"}]})"},
        {"another state",
         R"({"format":1,"alerts":[{"symbol":"X","price":1,"direction":"fall","state":"gone"}]})"},
        {"an unreadable time", R"({"format":1,"alerts":[{"symbol":"X","price":1,)"
                               R"("direction":"fall","triggeredAt":"yesterday"}]})"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("alerts.dat");
        writeBytes(path, c.bytes);
        const alertfile::ReadResult r = alertfile::read(path);
        EXPECT_EQ(r.status, alertfile::ReadResult::Status::Bad) << c.what;
        EXPECT_TRUE(r.alerts.empty()) << c.what;
        EXPECT_FALSE(r.problem.isEmpty()) << c.what;
    }
}

TEST(AlertFile, AFolderOrAHugeFileIsBadAndNoFileIsNoAlerts) {
    QTemporaryDir dir;
    const QString path = dir.filePath("alerts.dat");
    EXPECT_EQ(alertfile::read(path).status, alertfile::ReadResult::Status::Missing);
    ASSERT_TRUE(QDir(dir.path()).mkdir("alerts.dat"));
    EXPECT_EQ(alertfile::read(path).status, alertfile::ReadResult::Status::Bad);
    ASSERT_TRUE(QDir(dir.path()).rmdir("alerts.dat"));
    writeBytes(path, QByteArray(alertfile::kMaxBytes + 1, ' '));
    EXPECT_EQ(alertfile::read(path).status, alertfile::ReadResult::Status::Bad);
}

TEST(AlertFile, ABadFileIsKeptAside) {
    QTemporaryDir dir;
    const QString path = dir.filePath("alerts.dat");
    writeBytes(path + ".bad", "an older bad file");
    writeBytes(path, "broken {");
    ASSERT_TRUE(alertfile::keepAsBad(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(test::fileBytes(path + ".bad"), "broken {");
}

} // namespace
