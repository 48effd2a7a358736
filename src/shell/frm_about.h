#pragma once

#include "core/observer.h"
#include "core/task.h"
#include "shell/build_info.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;

inline constexpr std::string_view kFrmAboutCaption = "About Volmara";
inline constexpr std::string_view kAboutTitle = "Volmara";
inline constexpr std::string_view kAboutDescription =
    "Multi Disk/Path(s) free resource monitoring program.  Ideal for use in situation of unattended high volume "
    "downloads, file transfers and file sharing.";
inline constexpr std::string_view kAboutDisclaimer =
    "A utility made of use to assist in preventing loss of valuable data and loss of time due to lack of Free "
    "Storage Resources.";
inline constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Where the system-information tool is registered, both under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kMsInfoValue = "PATH";
inline constexpr std::string_view kMsInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kMsInfoLocationValue = "MSINFO";
inline constexpr std::string_view kMsInfoExecutable = "MSINFO32.EXE";

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Line {
    Point p1;
    Point p2;
    friend bool operator==(const Line&, const Line&) = default;
};

// "Version " major "." minor "." revision.
std::string versionText(const ProgramVersion& version);

// The model of `frmAbout`. The window is made the first time the model is shown.
class FrmAbout : public Observable {
public:
    // Nine pairs `a`/`a1` to `i`/`i1`: the first line of a pair ends at the common point, the
    // second starts there.
    static constexpr std::size_t kPairs = 9;

    explicit FrmAbout(AppState& app);
    FrmAbout(const FrmAbout&) = delete;
    FrmAbout& operator=(const FrmAbout&) = delete;

    // "About Volmara" and the logo: shows the window (not modal), loading it the first time.
    void show();
    // The window's load, with its size in the window's units: the lines meet at the middle of
    // the bottom edge.
    void Form_Load(double width, double height);
    // Moves the common end of every line to (x, y).
    void prcDraw(double x, double y);
    void Form_MouseMove(double x, double y) { prcDraw(x, y); }
    void cmdOK_Click();     // "OK": closes the window
    void cmdSysInfo_Click(); // "&System Info..."

    bool visible() const { return visible_; }
    bool loaded() const { return loaded_; }
    const std::string& lblVersion() const { return lblVersion_; }
    // `a`, `a1`, `b`, `b1`, ... `i`, `i1`.
    const std::array<Line, 2 * kPairs>& lines() const { return lines_; }

    ProgramVersion version = kProgramVersion;

    // The window system makes the window here the first time the model is shown.
    std::function<void()> windowNeeded;

private:
    Task<void> StartSysInfo();

    AppState& app_;
    bool loaded_ = false;
    bool visible_ = false;
    bool starting_ = false;
    std::string lblVersion_;
    std::array<Line, 2 * kPairs> lines_{};
};

} // namespace volmara
