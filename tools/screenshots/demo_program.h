#pragma once

#include "fakes/app_harness.h"
#include "ui/form1.h"

#include <cstdint>
#include <memory>

namespace volmara::shots {

// The real main window over the demo machine, after a few checks have found the camera card
// short of space and acted on it. Everything runs on virtual time: the pictures never depend on
// the hour they are taken at.
class DemoProgram {
public:
    DemoProgram();
    ~DemoProgram();
    DemoProgram(const DemoProgram&) = delete;
    DemoProgram& operator=(const DemoProgram&) = delete;

    Form1& window() { return *window_; }
    AppState& app() { return window_->model().app(); }
    // The index of `path`'s row in the watch list.
    std::size_t rowOf(const std::string& path) const;

    // Runs what the program and Qt have pending: answers of the I/O workers, layouts, repaints.
    void settle();
    // Virtual time passes; the program's timers fire as they would.
    void advance(std::int64_t ms);

private:
    void addDownloadsFolder();
    void runChecks();
    // Virtual time passes until the watch has run one more check.
    void nextCheck();

    test::AppHarness machine_;
    std::unique_ptr<Form1> window_;
};

} // namespace volmara::shots
