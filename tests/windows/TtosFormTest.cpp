// The terms window: its page, the accept button that only a loaded page enables, the setting
// written and saved before the window closes, and closing without accepting.

#include "WebTestSupport.h"

#include "core/ConfigFile.h"
#include "core/ProgramState.h"
#include "shell/SkinImages.h"
#include "windows/TtosForm.h"

#include "TestServer.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::webtest;

namespace {

const char* const kPage = "<html><body><h2>用户须知</h2><p>terms</p></body></html>";

class TtosFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        program().reset();
        program().paths.programDir = m_dir.path() + u'/';
        m_server.setPage("/tools/tos/S1/tosofchart", kPage);
        m_url = m_server.root() + "/tools/tos/S1/tosofchart";
    }
    QStringList savedLines() const { return configfile::load(program().settings.filePath()); }

    QTemporaryDir m_dir;
    PageServer m_server;
    QString m_url;
};

} // namespace

TEST_F(TtosFormTest, LayoutOfTheDialog) {
    TtosForm form(program().settings);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("用户需知"));
    EXPECT_EQ(form.size(), QSize(593, 378));
    EXPECT_EQ(form.tosWeb()->geometry(), QRect(0, 0, 593, 321));
    EXPECT_EQ(form.RzPanel1()->geometry(), QRect(0, 321, 593, 57));
    EXPECT_EQ(form.tosagtbtn()->geometry(), QRect(202, 15, 185, 34));
    EXPECT_EQ(form.tosagtbtn()->text(), QStringLiteral("我已理解并接受以上内容"));
    EXPECT_FALSE(form.tosagtbtn()->isEnabled());
}

TEST_F(TtosFormTest, TheButtonWaitsForThePage) {
    TtosForm form(program().settings);
    m_server.holdPage("/tools/tos/S1/tosofchart");
    form.loadTosUrl(m_url, "ACCEPTCHARTTOS");
    EXPECT_EQ(form.settingsKey(), "ACCEPTCHARTTOS");
    EXPECT_FALSE(form.tosagtbtn()->isEnabled());
    waitUntil([] { return false; }, 300); // the page is still on its way
    EXPECT_FALSE(form.tosagtbtn()->isEnabled());
    m_server.releasePage("/tools/tos/S1/tosofchart");
    EXPECT_TRUE(waitUntil([&] { return form.tosagtbtn()->isEnabled(); }));

    // The next use starts disabled again; a page that does not arrive leaves it so.
    form.loadTosUrl(
        QStringLiteral("http://127.0.0.1:%1/tools/tos/S1/tosofchart").arg(test::refusedPort()),
        "ACCEPTCHARTTOS");
    EXPECT_FALSE(form.tosagtbtn()->isEnabled());
    bool done = false;
    QObject::connect(form.tosWeb(), &QWebEngineView::loadFinished, [&done](bool) { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_FALSE(form.tosagtbtn()->isEnabled());
}

TEST_F(TtosFormTest, AcceptingSavesTheKeyBeforeTheWindowCloses) {
    TtosForm form(program().settings);
    form.loadTosUrl(m_url, "ACCEPTCHARTTOS");
    ASSERT_TRUE(waitUntil([&] { return form.tosagtbtn()->isEnabled(); }));
    QStringList atClose;
    QObject::connect(&form, &QDialog::finished, [&](int) { atClose = savedLines(); });
    QTimer::singleShot(0, form.tosagtbtn(), &QPushButton::click);
    EXPECT_TRUE(form.showModal());
    EXPECT_TRUE(atClose.contains("ACCEPTCHARTTOS=1"));
    EXPECT_EQ(program().settings.value(u"ACCEPTCHARTTOS"), "1");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(TtosFormTest, ClosingWithoutAcceptingStoresNothing) {
    TtosForm form(program().settings);
    form.loadTosUrl(m_url, "ACCEPTCHARTTOS");
    ASSERT_TRUE(waitUntil([&] { return form.tosagtbtn()->isEnabled(); }));
    QTimer::singleShot(0, &form, &QWidget::close);
    EXPECT_FALSE(form.showModal());
    EXPECT_FALSE(program().settings.contains(u"ACCEPTCHARTTOS"));
    EXPECT_FALSE(QFile::exists(program().settings.filePath()));
}

TEST_F(TtosFormTest, AcceptingWritesTheKeyItWasLoadedWith) {
    program().settings.setValue(u"localalert", "0");
    TtosForm form(program().settings);
    form.loadTosUrl(m_url, "OTHERTERMS");
    ASSERT_TRUE(waitUntil([&] { return form.tosagtbtn()->isEnabled(); }));
    QTimer::singleShot(0, form.tosagtbtn(), &QPushButton::click);
    EXPECT_TRUE(form.showModal());
    EXPECT_EQ(savedLines(), QStringList({"localalert=0", "OTHERTERMS=1"}));
}

TEST_F(TtosFormTest, ThePanelIsTiledWithThePageTile) {
    skin().loadSkin();
    const QImage tile = skin().top(SkinImages::kPageTile);
    ASSERT_EQ(tile.size(), QSize(14, 14));
    TtosForm form(program().settings);
    const QImage panel = form.RzPanel1()->grab().toImage();
    for (const QPoint at : {QPoint(0, 0), QPoint(13, 13), QPoint(14 * 3 + 5, 14 + 2),
                            QPoint(14 * 40 + 1, 14 * 2 + 9)})
        EXPECT_EQ(panel.pixel(at), tile.pixel(at.x() % 14, at.y() % 14)) << at.x() << "," << at.y();
}
