// The web part inside the real main window: the section views sit in their panels and the
// right column, and the content pane covers exactly the middle column.

#include "WebTestSupport.h"

#include "core/ProgramState.h"
#include "shell/TMainForm.h"
#include "web/ContentPane.h"
#include "web/HostWebView.h"
#include "web/SectionPages.h"

#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace kovan;
using namespace kovan::webtest;

TEST(MainWindowPlacement, ViewsAndContentPaneSitInTheWindowsContainers) {
    QTemporaryDir dir;
    program().paths.programDir = dir.path() + u'/';
    PageServer server;
    server.setPage("/tools/appadmin/S9", "<html><body>QZEARVersion 会员中心</body></html>");
    program().paths.endpoints.pageServer = HostPort{"127.0.0.1", quint16(server.port())};

    auto form = std::make_unique<TMainForm>();
    form->state() = {&program().session, &program().paths};
    auto* pages = new SectionPages(program().session, program().paths, form.get());
    auto* pane = new ContentPane(form->ConBgPae(), form->bgMPae(), program().paths.endpoints);
    form->setSectionViews(pages->view(u"sign"), pages->view(u"arts"), pages->view(u"plan"),
                          pages->view(u"mkte"), pages->view(u"rpae"));
    form->resize(1000, 640);
    form->show();
    form->showFirstSection();
    ASSERT_TRUE(waitUntil([&] { return form->isVisible(); }));

    for (const char* key : {"sign", "arts", "plan", "mkte"})
        EXPECT_TRUE(form->bgMPae()->isAncestorOf(pages->view(QString::fromLatin1(key)))) << key;
    EXPECT_TRUE(form->bgRPae()->isAncestorOf(pages->view(u"rpae")));
    EXPECT_TRUE(pages->view(u"sign")->isVisible());

    pane->showoptPage(QStringLiteral("会员中心"), "appadmin/S9");
    EXPECT_TRUE(form->ConBgPae()->isVisible());
    const QRect middle(form->bgMPae()->mapTo(form.get(), QPoint(0, 0)), form->bgMPae()->size());
    EXPECT_EQ(form->ConBgPae()->geometry(), ContentPane::paneGeometry(middle));
    ASSERT_TRUE(waitUntil([&] { return !pane->Timer5()->isActive(); }));
    EXPECT_TRUE(pane->ConWeb()->isVisible());
    EXPECT_EQ(pane->ConWeb()->width(), form->ConBgPae()->width());

    pane->ConBackBtClick();
    EXPECT_FALSE(form->ConBgPae()->isVisible());
    form.reset();
}
