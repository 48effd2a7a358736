// The program's clips, sounds and shell icons: the animation routine, the WAV length that bounds
// a sound's wait, the play buttons, and the watch list's icon fetch.
#include "alerts/shell_icon_list.h"
#include "alerts/wave_header.h"
#include "core/avi_builder.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace volmara::test {
namespace {

class MediaTest : public ::testing::Test {
protected:
    AppHarness h;
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.files.folders = {"/", "/data/", "/data/photos"};
        h.load();
        app().Timer1.setEnabled(false);
    }
    AppState& app() { return h.app(); }
    void ship(const char* name, std::string bytes) { h.files.files[std::string("/opt/volmara/") + name] = std::move(bytes); }

    template <typename T>
    T run(Task<T> task)
    {
        std::optional<T> out;
        app().tasks.spawn([](Task<T> t, std::optional<T>& o) -> Task<void> { o = co_await std::move(t); }(std::move(task), out));
        h.loop.runPending();
        EXPECT_TRUE(out.has_value());
        return out.value_or(T{});
    }
};

TEST_F(MediaTest, AnimationLoadsOnlyClipsThatExistAndRead)
{
    auto& a = app().Animation1;
    a.prcSrvAnimation(1, 0);
    EXPECT_EQ(a.clip(), nullptr) << "no clip shipped: nothing to play";
    EXPECT_FALSE(a.playing());

    ClipShape spin;
    ClipShape alert;
    alert.frames = 5;
    ship("spin.avi", buildClip(spin));
    a.prcSrvAnimation(1, 0);
    EXPECT_EQ(a.clipName(), "spin.avi");
    EXPECT_TRUE(a.playing());

    a.prcSrvAnimation(1, 1);
    EXPECT_EQ(a.clipName(), "spin.avi") << "a missing clip leaves the animation as it was";
    EXPECT_TRUE(a.playing());

    ship("alert.avi", "RIFF\x04\0\0\0AVI ");
    a.prcSrvAnimation(1, 1);
    EXPECT_EQ(a.clipName(), "spin.avi") << "so does a damaged one";

    app().Animation1.prcSrvAnimation(0, 0);
    EXPECT_FALSE(a.playing());
    EXPECT_EQ(a.clipName(), "spin.avi");

    Animation fresh(h.files, "/opt/volmara");
    ship("alert.avi", buildClip(alert));
    fresh.prcSrvAnimation(1, 1);
    ASSERT_NE(fresh.clip(), nullptr);
    EXPECT_EQ(fresh.clip()->frames.size(), 5u);
    EXPECT_TRUE(fresh.playing());
    fresh.prcSrvAnimation(2, 7);
    EXPECT_EQ(fresh.clipName(), "alert.avi") << "other values do nothing";
    EXPECT_TRUE(fresh.playing());
    fresh.prcSrvAnimation(3, 0);
    EXPECT_EQ(fresh.clipName(), "spin.avi");
    EXPECT_FALSE(fresh.playing()) << "an opened clip shows its first frame, stopped";
}

std::string wave(std::uint32_t byteRate, std::size_t dataBytes, std::optional<std::uint32_t> claimed = {},
                 bool fmtFirst = true)
{
    using namespace riff;
    const std::string fmt = chunk("fmt ", u16(1) + u16(1) + u32(byteRate / 2) + u32(byteRate) + u16(2) + u16(16));
    const std::string info = list("INFO", chunk("INAM", "tone"));
    const std::string data = chunk("data", std::string(dataBytes, '\0'), claimed);
    return chunk("RIFF", "WAVE" + info + (fmtFirst ? fmt + data : data + fmt));
}

TEST(WaveDurationTest, LengthComesFromTheHeaderAndTheFile)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<long> ms;
    };
    const auto truncated = [](std::string bytes, std::size_t cut) {
        bytes.resize(bytes.size() - cut);
        return bytes;
    };
    const std::vector<Case> cases{
        {"half a second", wave(44100, 22050), 500},
        {"data claims more than the file holds", truncated(wave(44100, 44100), 22050), 500},
        {"data size field past the end", wave(44100, 4410, 0xFFFFFFF0u), 100},
        {"no format before the data", wave(44100, 4410, {}, false), std::nullopt},
        {"no byte rate", wave(0, 4410), std::nullopt},
        {"not a WAV", "RIFF\x10\0\0\0AVI LIST", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto length = waveDuration(c.bytes, c.bytes.size());
        ASSERT_EQ(length.has_value(), c.ms.has_value());
        if (length) {
            EXPECT_EQ(length->count(), *c.ms);
        }
    }

    std::ifstream in(std::string(VOLMARA_ASSETS) + "/sound/alert.WAV", std::ios::binary);
    std::ostringstream shipped;
    shipped << in.rdbuf();
    const auto alert = waveDuration(shipped.str(), shipped.str().size());
    ASSERT_TRUE(alert);
    EXPECT_GT(alert->count(), 200);
    EXPECT_LT(alert->count(), 2000) << "the shipped alert is short";
}

TEST_F(MediaTest, PlayButtonsPlayAnExistingSoundToItsEnd)
{
    auto& s = app().settings;
    h.sound.hold = true;
    ship("beep.wav", wave(44100, 4410));
    s.txtAudio = {"/opt/volmara/beep.wav", "/nowhere/gone.wav"};
    const auto before = app().tasks.running();

    h.model->playSound(0);
    h.loop.runPending();
    EXPECT_EQ(h.sound.played, std::vector<std::string>{"/opt/volmara/beep.wav"});
    EXPECT_EQ(app().tasks.running(), before + 1) << "the command waits for the sound";
    h.sound.finishOne();
    EXPECT_EQ(app().tasks.running(), before);

    h.model->playSound(1);
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.texts().back(), "File Does not exists: /nowhere/gone.wav");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);
    EXPECT_EQ(h.sound.played.size(), 1u);

    s.txtAudio[1].clear();
    const auto messages = h.dialogs.shown.size();
    h.model->playSound(1);
    h.model->playSound(2);
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.shown.size(), messages) << "an empty text does nothing";
    EXPECT_EQ(h.sound.played.size(), 1u);
}

TEST_F(MediaTest, ShellIconOfAPathIsFetchedOnceAndReused)
{
    auto& list = app().ImageListLV;
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.indexOf("alert"), 1);
    EXPECT_EQ(list.indexOf("ok"), 2);
    EXPECT_EQ(list.indexOf("question"), 3);
    h.files.files["/data/report.txt"] = "x";

    struct Case {
        const char* path;
        std::int16_t index;
        std::optional<ShellIconKind> kind;
    };
    for (const auto& c : {Case{"/data/photos", 4, ShellIconKind::Folder}, Case{"/data", 5, ShellIconKind::Drive},
                          Case{"/data/report.txt", 6, ShellIconKind::File}, Case{"/data/missing", 0, std::nullopt}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(run(ExtractShellIcon(app(), c.path, 16)), c.index);
        if (c.kind) {
            EXPECT_EQ(list.image(c.index).kind, *c.kind);
        }
    }
    EXPECT_EQ(list.Count(), 6);

    // Every check fetches the icon of every unwatched entry: the list stays as it is.
    const int calls = h.io.submitted;
    for (int check = 0; check < 3; ++check)
        EXPECT_EQ(run(ExtractShellIcon(app(), "/data/photos", 16)), 4);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(h.io.submitted, calls) << "a known icon asks no file system";
    EXPECT_EQ(run(ExtractShellIcon(app(), "/data/photos", 32)), 7) << "the large icon is another picture";
}

TEST_F(MediaTest, ShellIconOfADeadFileSystemIsNoneAndTriedAgainLater)
{
    h.io.hang("/data/");
    EXPECT_EQ(run(ExtractShellIcon(app(), "/data/photos", 16)), 0);
    EXPECT_EQ(app().ImageListLV.Count(), 3);
    h.io.recover("/data/");
    EXPECT_EQ(run(ExtractShellIcon(app(), "/data/photos", 16)), 4);
}

} // namespace
} // namespace volmara::test
