#include "core/extra_file.h"

#include <gtest/gtest.h>

namespace volmara {
namespace {

TEST(ExtraFile, RoundTripKeepsOrderAndUnknownKeys)
{
    ExtraData data;
    data.mailPort = "2525";
    data.files = {"/data/a b.iso", "/data/x=y.txt"};
    data.programs = {"/usr/bin/tool"};
    data.unknown = {{"later", "kept"}};
    const auto text = extraText(data);
    EXPECT_EQ(text, "mailport=2525\r\nfile=/data/a b.iso\r\nfile=/data/x=y.txt\r\nprog=/usr/bin/tool\r\nlater=kept\r\n");
    EXPECT_EQ(parseExtraText(text), data);
}

TEST(ExtraFile, ReadsBareLineEndsAndSkipsLinesWithoutAKey)
{
    const auto data = parseExtraText("file=/a\nnonsense\n\r\nprog=/b");
    EXPECT_EQ(data.files, std::vector<std::string>{"/a"});
    EXPECT_EQ(data.programs, std::vector<std::string>{"/b"});
    EXPECT_TRUE(data.unknown.empty());
    EXPECT_EQ(extraFileName("/opt/volmara/set.dat"), "/opt/volmara/extra.dat");
}

} // namespace
} // namespace volmara
