#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace volmara {

// The full path of a program found on PATH or in the system's program folders.
std::optional<std::string> findProgram(const std::string& name);

// Runs `program` with `arguments` (the first is its name) and returns its standard output, at
// most `cap` bytes; nullopt when it could not be started. A program still running after
// `limit` is killed and what it wrote so far is returned. Blocking: for the I/O workers.
std::optional<std::string> commandOutput(const std::string& program, const std::vector<std::string>& arguments,
                                         std::chrono::milliseconds limit, std::size_t cap);

} // namespace volmara
