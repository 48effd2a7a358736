#include "platform/posix/files/os_error.h"

#include "core/error.h"

#include <cerrno>
#include <system_error>

namespace volmara {

void throwOsError(int error, Missing missing)
{
    switch (error) {
    case ENOMEM:
        throw Error(ErrorKind::OutOfMemory, "Out of memory");
    case ENOENT:
    case ENOTDIR:
        throw Error(ErrorKind::Other, missing == Missing::File ? "File not found" : "Path not found");
    case EACCES:
    case EPERM:
        throw Error(ErrorKind::Other, "Permission denied");
    case ENOSPC:
    case EDQUOT:
        throw Error(ErrorKind::Other, "Disk full");
    case EIO:
        throw Error(ErrorKind::Other, "Device I/O error");
    case ENXIO:
    case ENODEV:
    case ENOTCONN:
    case ESTALE:
    case EHOSTDOWN:
        throw Error(ErrorKind::Other, "Device unavailable");
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EISDIR:
    case EEXIST:
    case ELOOP:
    case ENAMETOOLONG:
    case ENOTEMPTY:
        throw Error(ErrorKind::Other, "Path/File access error");
    default:
        throw Error(ErrorKind::Other, std::system_category().message(error));
    }
}

} // namespace volmara
