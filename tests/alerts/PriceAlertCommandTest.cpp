// The page command pricealert's parameter: a synced symbol and a positive price, or "-1".

#include "AlertTestSupport.h"

#include "alerts/PriceAlertCommand.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

TEST(PriceAlertCommand, ASyncedSymbolAndAPositivePrice) {
    const struct {
        const char* params;
        bool usable;
        double price;
    } cases[] = {
        {R"({"SYM":"XAU","price":1918,"note":"止盈"})", true, 1918},
        {R"({"SYM":"XAU","price":"1940.5"})", true, 1940.5},
        {R"({"SYM":"XAU","price":0.01})", true, 0.01},
        {R"({"SYM":"XAU","price":0})", false, 0},
        {R"({"SYM":"XAU","price":-3})", false, 0},
        {R"({"SYM":"XAU","price":"abc"})", false, 0},
        {R"({"SYM":"XAU","price":true})", false, 0},
        {R"({"SYM":"XAU"})", false, 0},
        {R"({"SYM":"GONE","price":10})", false, 0},
        {R"({"SYM":"xau","price":10})", false, 0}, // codes are exact
        {R"({"price":10})", false, 0},
    };
    for (const auto& c : cases) {
        const std::optional<PriceAlertRequest> r =
            readPriceAlertRequest(QString::fromUtf8(c.params), symbolTable());
        ASSERT_EQ(r.has_value(), c.usable) << c.params;
        if (r) {
            EXPECT_EQ(r->symbol, "XAU");
            EXPECT_EQ(r->price, c.price) << c.params;
        }
    }
}

TEST(PriceAlertCommand, TheNoteIsCutAndAParameterThatIsNoObjectIsAScriptError) {
    const QString params =
        QStringLiteral(R"({"SYM":"XAU","price":1918,"note":"%1"})").arg(QString(250, u'注'));
    EXPECT_EQ(readPriceAlertRequest(params, symbolTable())->note, QString(200, u'注'));
    EXPECT_THROW(readPriceAlertRequest("XAU 1918", symbolTable()), ConversionError);
    EXPECT_THROW(readPriceAlertRequest("[1]", symbolTable()), ConversionError);
}

} // namespace
