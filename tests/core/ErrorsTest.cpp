#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace kovan;

// The one table of the error handler's texts; the handler's own test only checks that it
// passes exceptions here.
TEST(Errors, ComposedTextsByKind) {
    EXPECT_EQ(composeErrorText(DivisionByZeroError("x")), "错误,除数不能为零 ");
    EXPECT_EQ(composeErrorText(InvalidAccessError("x")), "错误,访问了无效的内存区域 ");
    EXPECT_EQ(composeErrorText(FileOpenError("x")), "错误,文件不能打开 ");
    EXPECT_EQ(composeErrorText(ConversionError("x")), "错误,非法的类型转换 ");
    EXPECT_EQ(composeErrorText(std::invalid_argument("x")), "错误,非法的类型转换 ");
    // Any other kind: its type name and message.
    EXPECT_EQ(composeErrorText(std::runtime_error("boom")), "错误, \rstd::runtime_error\rboom");
    EXPECT_EQ(composeErrorText(std::logic_error("bad")), "错误, \rstd::logic_error\rbad");
    // Something that is not a std::exception.
    EXPECT_EQ(composeUnknownErrorText(), "错误, \runknown\r");
}
