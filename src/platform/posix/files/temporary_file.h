#pragma once

#include "platform/posix/files/unique_fd.h"

#include <string>
#include <string_view>
#include <utility>

#include <sys/types.h>

namespace volmara {

void writeAll(int fd, std::string_view bytes);
void closeOrThrow(UniqueFd& fd);
// "/a/b.txt" -> {"/a", "b.txt"}; "/b" -> {"/", "b"}; "b" -> {".", "b"}.
std::pair<std::string, std::string> splitFolderAndName(const std::string& path);
// Makes a rename in the folder durable; the data is already on the disk, so a failure here is not
// worth failing the caller for.
void flushFolder(const std::string& folder);

// A temporary file beside a target, removed again unless it was put in place.
class TemporaryFile {
public:
    TemporaryFile(const std::string& folder, const std::string& name, mode_t mode);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }

    void setMode(mode_t mode);
    void flushAndClose();
    // Replaces whatever has the target's name.
    void renameOver(const std::string& target);
    // Fails (Path/File access error) when something has the target's name already.
    void placeAt(const std::string& target);

private:
    std::string path_;
    UniqueFd fd_;
    bool placed_ = false;
};

} // namespace volmara
