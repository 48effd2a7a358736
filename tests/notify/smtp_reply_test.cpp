#include "notify/smtp_reply.h"

#include <gtest/gtest.h>

namespace volmara {
namespace {

TEST(SmtpReplyTest, CompleteRepliesAndWhatIsLeftOver)
{
    struct Case {
        std::string buffer;
        std::vector<SmtpReply> replies;
        std::size_t consumed;
    };
    const std::vector<Case> cases{
        {"220 ready\r\n", {{220, {"ready"}}}, 11},
        {"220 rea", {}, 0},
        {"250-first\r\n250-second\r\n", {}, 0}, // continuation lines wait for their last line
        {"250-first\r\n250 last\r\n", {{250, {"first", "last"}}}, 21},
        {"250\r\n354 go\n", {{250, {""}}, {354, {"go"}}}, 12}, // a bare code; a bare LF
        {"554 5.7.25 rejected\r\n", {{554, {"5.7.25 rejected"}}}, 21},
        {"hello there\r\n", {{-1, {"o there"}}}, 13},  // not a reply line
        {"25 short\r\n", {{-1, {"hort"}}}, 10},
        {"250x\r\n", {{-1, {""}}}, 6},
        {"250-a\r\nxyz\r\n250 b\r\n", {{-1, {"a", ""}}, {250, {"b"}}}, 19}, // a broken line ends the reply
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buffer);
        const auto scan = parseReplies(c.buffer);
        EXPECT_EQ(scan.replies, c.replies);
        EXPECT_EQ(scan.consumed, c.consumed);
    }
}

TEST(SmtpReplyTest, CodesAreThreeDigits)
{
    EXPECT_EQ(replyCode("250"), 250);
    EXPECT_EQ(replyCode("25"), -1);
    EXPECT_EQ(replyCode("2500"), -1);
    EXPECT_EQ(replyCode("2x0"), -1);
}

} // namespace
} // namespace volmara
