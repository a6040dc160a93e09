#include "jet/writer/write_permission.h"

#include "jet/writer/file_io.h"
#include "jet/writer/shop_lock_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace jet {

void requireWritable(int fd, bool openForWriting, const std::string& path) {
    if (!openForWriting) {
        throw WriteError(WriteError::Kind::ReadOnly, "the file may not be written: " + path);
    }
    struct statvfs medium {};
    if (::fstatvfs(fd, &medium) == 0 && (medium.f_flag & ST_RDONLY) != 0) {
        throw WriteError(WriteError::Kind::ReadOnly, "the medium is read-only: " + path);
    }
    // The journal goes beside the file; a folder that would refuse it refuses the change.
    const std::string folder = folderOf(path);
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        throwWriteError("the folder may not be written: " + folder, errno);
    }
}

void requireNotInShopProgram(const std::string& path) {
    if (auto user = shopProgramUser(shopLockFilePathFor(path))) {
        throw WriteError(WriteError::Kind::InUseByShopProgram, std::move(*user));
    }
}

} // namespace jet
