#include "tools/screenshots/demo_program.h"

#include "tools/screenshots/demo_machine.h"

#include <QCoreApplication>

#include <stdexcept>

namespace volmara::shots {

namespace {

// The demo settings check once a minute; time passes a second at a time until a check has run.
constexpr std::int64_t kCheckIntervalMs = 60'000;
constexpr std::int64_t kStepMs = 1'000;
// The clip the first check moves off the card, in KB.
constexpr std::uint64_t kMovedClipKb = 716'800;
// New footage after the second check takes the card below the trigger again.
constexpr std::uint64_t kCardAfterFootageKb = 1'228'800;

} // namespace

DemoProgram::DemoProgram()
{
    furnish(machine_);
    window_ = std::make_unique<Form1>(machine_.services());
    window_->Form_Load();
    settle();
    if (!window_->model().startedUp())
        throw std::runtime_error("the demo program did not finish its start-up");
    addDownloadsFolder();
    runChecks();
}

// The windows refer to the model, which refers to the machine: the window goes first.
DemoProgram::~DemoProgram() { window_.reset(); }

std::size_t DemoProgram::rowOf(const std::string& path) const
{
    const auto& rows = window_->model().app().ListView1.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (machine_.paths.samePath(rows[i].path, path))
            return i;
    }
    throw std::runtime_error("no watch list row for " + path);
}

void DemoProgram::settle()
{
    // A round of Qt's events may post work to the program and the other way round.
    for (int round = 0; round < 3; ++round) {
        machine_.loop.runPending();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void DemoProgram::advance(std::int64_t ms)
{
    machine_.loop.advance(ms);
    settle();
}

// The user adds a folder through "(..)" and ticks it.
void DemoProgram::addDownloadsFolder()
{
    machine_.dialogs.folders.emplace_back(kDownloads);
    window_->model().addPath();
    settle();
    window_->model().setWatched(rowOf(kDownloads), true);
}

// The first check finds the card short and moves the clip to the archive; the next one sees the
// space that freed, the one after that the new footage, short again.
void DemoProgram::runChecks()
{
    nextCheck();
    changeCardSpace(machine_, kCardFreeKb + kMovedClipKb);
    nextCheck();
    changeCardSpace(machine_, kCardAfterFootageKb);
    nextCheck();
}

void DemoProgram::nextCheck()
{
    const auto& app = window_->model().app();
    const auto before = app.checksDone;
    for (std::int64_t waited = 0; app.checksDone == before; waited += kStepMs) {
        if (waited > kCheckIntervalMs * 3)
            throw std::runtime_error("the demo program stopped checking");
        advance(kStepMs);
    }
}

} // namespace volmara::shots
