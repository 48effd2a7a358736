#pragma once

#include <stdexcept>
#include <string>

namespace volmara {

// The watch tick reacts differently to each kind, so errors carry one.
enum class ErrorKind { OutOfMemory, IndexOutOfRange, InvalidArgument, Other };

class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, const std::string& description)
        : std::runtime_error(description), kind_(kind) {}

    ErrorKind kind() const noexcept { return kind_; }
    std::string description() const { return what(); }

private:
    ErrorKind kind_;
};

} // namespace volmara
