#pragma once

namespace volmara {

// What a missing path means depends on the operation: a file that is not there, or the folder
// a file was to be written into.
enum class Missing { File, Path };

// Throws Error with the description the program's handlers look for ("Permission denied",
// "Disk full", "Path not found", "Path/File access error", ...).
[[noreturn]] void throwOsError(int error, Missing missing);

} // namespace volmara
