#include <gtest/gtest.h>

#include "board/board_views.h"

namespace {

TEST(BoardViews, NamesAreEscapedForHtmlAndJson)
{
    EXPECT_EQ(EscapeHtml("<b a=\"1\" c='2'>&</b>"), "&lt;b a=&quot;1&quot; c=&#39;2&#39;&gt;&amp;&lt;/b&gt;");
    EXPECT_EQ(JsonString("say \"hi\" \\ </script>"), "\"say \\\"hi\\\" \\\\ \\u003c/script\\u003e\"");
    EXPECT_EQ(JsonString(std::string("\x01\n\x7f", 3)), "\"\\u0001\\u000a\\u007f\"");
    EXPECT_EQ(JsonString("a\xe2\x80\xa8z\xe2\x80\xa9"), "\"a\\u2028z\\u2029\"");
    EXPECT_EQ(JsonString("洞窟"), "\"洞窟\"");

    const DayView view{.day = {2026, 3, 16}, .boards = {{BoardSettings{}, 1, {{.id = 4, .run = 9, .name = "<i>&", .ticks = 1235,
                                                                          .submitted = 1773662400123, .place = 1}}}}};
    const std::string html = DayHtml(view);
    EXPECT_NE(html.find("<td>&lt;i&gt;&amp;</td><td>61.75 s</td>"), std::string::npos) << html;
    EXPECT_EQ(html.find("<i>"), std::string::npos);
    EXPECT_EQ(html.find("watch"), std::string::npos) << "no watch link without the browser edition";
    const std::string json = DayJson(view);
    EXPECT_NE(json.find("\"name\":\"\\u003ci\\u003e\\u0026\",\"ticks\":1235,\"seconds\":61.75"), std::string::npos) << json;
    EXPECT_NE(json.find("\"submitted\":\"2026-03-16T12:00:00Z\",\"run\":\"/runs/9.burrowkin-run\""), std::string::npos) << json;
    EXPECT_EQ(Seconds(0), "0.00");
    EXPECT_EQ(Seconds(19), "0.95");
}

}  // namespace
