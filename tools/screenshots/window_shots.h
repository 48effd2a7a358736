#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace volmara::shots {

class DemoProgram;

// One picture: its file name without ".png", and how the demo is brought to show it. `prepare`
// returns the window to take.
struct Shot {
    std::string name;
    std::function<QWidget&(DemoProgram&)> prepare;
};

// Every window of the program, page by page, in the order they are taken.
std::vector<Shot> windowShots();

} // namespace volmara::shots
