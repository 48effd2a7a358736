#include "registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace kelvane {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Registry, GuidTextRoundTrips)
{
    EXPECT_EQ(guidText(KV_CLSID_ctlSpmeter), "{3F419ABE-33B1-48C1-B301-E5134ADF8782}");
    const auto parsed = parseGuid("{3f419abe-33b1-48c1-b301-e5134adf8782}");
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(sameGuid(*parsed, KV_CLSID_ctlSpmeter));
    EXPECT_FALSE(parseGuid("3F419ABE-33B1-48C1-B301-E5134ADF8782"));
    EXPECT_FALSE(parseGuid("{3F419ABE-33B1-48C1-B301-E5134ADF878G}"));
    EXPECT_FALSE(parseGuid("{3F419ABE+33B1-48C1-B301-E5134ADF8782}"));
}

TEST(Registry, RecordRoundTrips)
{
    const ControlRecord record{KV_CLSID_ctlSpmeter, "ctlSpmeter", "/opt/kelvane/libkelvane.so"};
    const std::string text = formatRecord(record);
    EXPECT_EQ(text,
              "ClassId={3F419ABE-33B1-48C1-B301-E5134ADF8782}\nName=ctlSpmeter\n"
              "Library=/opt/kelvane/libkelvane.so\n");
    const auto back = parseRecord(text);
    ASSERT_TRUE(back);
    EXPECT_TRUE(sameGuid(back->classId, record.classId));
    EXPECT_EQ(back->name, record.name);
    EXPECT_EQ(back->library, record.library);
    EXPECT_FALSE(parseRecord("Name=ctlSpmeter\nLibrary=/x.so\n"));
}

TEST(Registry, LivesUnderTheXdgDataFolder)
{
    {
        const ScopedEnv xdg("XDG_DATA_HOME", "/data/home");
        const ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(controlsDirectory(), std::filesystem::path("/data/home/kelvane/controls"));
    }
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
        const ScopedEnv xdg("XDG_DATA_HOME", unusable);
        const ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(controlsDirectory(), std::filesystem::path("/home/u/.local/share/kelvane/controls"));
    }
}

}  // namespace
}  // namespace kelvane
