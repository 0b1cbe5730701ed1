#include "core/Utils.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

// Builds a tiny executable, with the given package metadata when it is not empty.
QString buildElf(const QTemporaryDir& dir, const QString& name, const QString& metadata) {
    const QString source = dir.filePath("main.c");
    QFile f(source);
    if (!f.exists()) {
        f.open(QIODevice::WriteOnly);
        f.write("int main(void) { return 0; }\n");
        f.close();
    }
    const QString out = dir.filePath(name);
    QStringList args{source, "-o", out};
    if (!metadata.isEmpty())
        args << "-Xlinker"
             << "--package-metadata=" + metadata;
    QProcess cc;
    cc.start("cc", args);
    if (!cc.waitForFinished(60000) || cc.exitCode() != 0) {
        ADD_FAILURE() << "cc failed: " << cc.readAllStandardError().toStdString();
        return {};
    }
    return out;
}

} // namespace

TEST(FileVersion, ReadsPackageMetadataNote) {
    if (QStandardPaths::findExecutable("cc").isEmpty())
        GTEST_SKIP() << "no C compiler";
    QTemporaryDir dir;
    const QString v1 = buildElf(dir, "v1", R"({"type":"app","name":"zrs","version":"1.2.3"})");
    const QString v1b = buildElf(dir, "v1b", R"({"version":"1.2.3","name":"other"})");
    const QString v2 = buildElf(dir, "v2", R"({"version":"中文-2"})");
    const QString none = buildElf(dir, "none", "");
    const QString noVersion = buildElf(dir, "noversion", R"({"name":"zrs"})");
    EXPECT_EQ(getFileVersion(v1), "1.2.3");
    EXPECT_EQ(getFileVersion(v1), getFileVersion(v1b));
    EXPECT_EQ(getFileVersion(v2), "中文-2");
    EXPECT_EQ(getFileVersion(none), "");
    EXPECT_EQ(getFileVersion(noVersion), "");

    // Not ELF, truncated ELF, missing file: all empty, and never a crash.
    QFile text(dir.filePath("script"));
    text.open(QIODevice::WriteOnly);
    text.write("#!/bin/sh\necho hi\n");
    text.close();
    EXPECT_EQ(getFileVersion(text.fileName()), "");
    QFile full(v1);
    full.open(QIODevice::ReadOnly);
    const QByteArray bytes = full.readAll();
    for (qsizetype cut : {4, 16, 64, 200}) {
        QFile part(dir.filePath("cut"));
        part.open(QIODevice::WriteOnly | QIODevice::Truncate);
        part.write(bytes.left(cut));
        part.close();
        EXPECT_EQ(getFileVersion(part.fileName()), "") << cut;
    }
    EXPECT_EQ(getFileVersion(dir.filePath("missing")), "");
    EXPECT_EQ(getFileVersion(dir.filePath("missing")), getFileVersion(none));
}

TEST(FileVersion, CompanionCarriesItsVersion) {
    const QString companion = QStringLiteral(KOVAN_BIN_DIR "/kovan-companion");
    if (!QFile::exists(companion))
        GTEST_SKIP() << "companion not built";
    EXPECT_FALSE(getFileVersion(companion).isEmpty());
}
