// Saves a settings file over and over, alternating two contents, until it is killed.
// Used by the kill-during-save test: whatever moment the kill lands on, the file must be whole.
#include "platform/posix/files_posix.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: volmara_save_loop <file> <content-a> <content-b>\n", stderr);
        return 2;
    }
    volmara::PosixFiles files;
    const std::string contents[2] = {argv[2], argv[3]};
    for (unsigned long i = 0;; ++i)
        files.replaceFile(argv[1], contents[i % 2], volmara::Files::Privacy::OwnerOnly);
}
