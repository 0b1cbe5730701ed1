// The rules of the auxiliary windows that need no window: the page commands' parameters, the
// plain web window's caption, the lecture settings.
#include "core/Errors.h"
#include "core/NameValueList.h"
#include "windows/LectureConfig.h"
#include "windows/TcsnmForm.h"
#include "windows/WindowCommands.h"

#include <gtest/gtest.h>

using namespace kovan;

namespace {

TEST(WindowCommands, NormalWindowParameters) {
    QStringList shown;
    auto show = [&shown](const QString& t, const QString& u) { shown.append(t + u'|' + u); };
    runNormalWindow(R"({"url":"http://x/a","title":"标题"})", show);
    runNormalWindow(R"({"url":"http://x/b"})", show);
    runNormalWindow(R"({"title":"no url"})", show);
    runNormalWindow(R"({"url":""})", show);
    EXPECT_EQ(shown, (QStringList{"标题|http://x/a", "|http://x/b"}));
    EXPECT_THROW(runNormalWindow("not json", show), ConversionError);
    EXPECT_THROW(runNormalWindow("[1]", show), ConversionError);
}

TEST(WindowCommands, PlainWebWindowCaption) {
    EXPECT_EQ(TcsnmForm::captionFor(""), "请稍候...");
    EXPECT_EQ(TcsnmForm::captionFor("讲座"), "讲座");
}

// ---- lecture ------------------------------------------------------------------------------

TEST(LectureConfig, DefaultsPointAtThePageServer) {
    const LectureConfig c = LectureConfig::fromSettings(NameValueList(), "http://p:88");
    EXPECT_TRUE(c.configured());
    EXPECT_EQ(c.roomUrl, "http://p:88/tools/lecture/");
    EXPECT_EQ(c.lines.size(), 4);
    EXPECT_EQ(c.lines.last(), "火热进行中");
    EXPECT_EQ(c.roomTitle(), c.name + " 在线投资讲座");
}

TEST(LectureConfig, SettingsOverrideAndNoneTurnsItOff) {
    NameValueList s(QStringList{"lecturename=Zhang", "LECTUREROOM=http://live/room/1",
                                "LectureLines=a###b###c###d"});
    const LectureConfig c = LectureConfig::fromSettings(s, "http://p:88");
    EXPECT_EQ(c.name, "Zhang");
    EXPECT_EQ(c.roomUrl, "http://live/room/1");
    EXPECT_EQ(c.lines, (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(c.roomTitle(), "Zhang 在线投资讲座");

    const LectureConfig off =
        LectureConfig::fromSettings(NameValueList(QStringList{"LectureRoom=None"}), "http://p");
    EXPECT_FALSE(off.configured());
}

} // namespace
