// The lock of a run folder: one run at a time writes "Names.dat" and the
// reports of a folder. The lock is the kernel's flock on the file
// "pilecap.lock" in the folder, so it ends with the process that holds it,
// however that ends. Its holder writes its process id into the file as it
// takes it and empties the file before it lets go, so a run refused names
// the run in its way. Written whole in this header: the library takes the
// lock around its run and the stand-in host, which loads the library, takes
// it around the whole of its work.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace pilecap {

inline constexpr const char* FOLDER_LOCK_FILE = "pilecap.lock";

enum class FolderLockState {
  Taken,              // this call holds it now
  HeldByThisProcess,  // another open of the file in this process holds it (a host)
  HeldByOther,        // another process holds it
  Unavailable,        // the lock file cannot be opened or locked (errno tells why)
};

namespace folder_lock_detail {

constexpr const char* KERNEL_LOCK_TABLE = "/proc/locks";
constexpr mode_t LOCK_FILE_PERMISSIONS = 0644;
constexpr int HOLDER_READ_ATTEMPTS = 50;        // the holder writes its id right after it takes the lock
constexpr useconds_t HOLDER_READ_PAUSE = 2000;  // microseconds between two reads

// The process that holds the flock of the file (device, inode) by the
// kernel's lock table; 0 when the table does not say.
inline long holder_by_lock_table(const struct stat& file) {
  std::ifstream table(KERNEL_LOCK_TABLE);
  // "1: FLOCK  ADVISORY  WRITE 12345 08:01:1234567 0 EOF"; a waiter's line has "->".
  for (std::string line; std::getline(table, line);) {
    char kind[16] = {};
    long pid = 0;
    unsigned major_id = 0, minor_id = 0;
    unsigned long inode = 0;
    if (line.find("->") != std::string::npos) continue;
    if (std::sscanf(line.c_str(), "%*d: %15s %*s %*s %ld %x:%x:%lu", kind, &pid, &major_id, &minor_id, &inode) != 5) {
      continue;
    }
    if (std::string(kind) == "FLOCK" && inode == file.st_ino && major_id == major(file.st_dev) &&
        minor_id == minor(file.st_dev)) {
      return pid;
    }
  }
  return 0;
}

// The process id the holder wrote into the file; 0 when it is empty.
inline long holder_by_contents(int fd) {
  char text[32] = {};
  const ssize_t n = pread(fd, text, sizeof text - 1, 0);
  if (n <= 0) return 0;
  return std::strtol(text, nullptr, 10);
}

}  // namespace folder_lock_detail

// FOLDER_LOCK_HOLDER
// The process that holds the lock of the open lock file fd: by the kernel's
// lock table, else by the id its holder wrote (read again for a moment when
// the holder has just taken it); 0 when neither says.
inline long FOLDER_LOCK_HOLDER(int fd) {
  struct stat file {};
  if (fstat(fd, &file) != 0) return 0;
  if (const long pid = folder_lock_detail::holder_by_lock_table(file)) return pid;
  for (int attempt = 1; attempt <= folder_lock_detail::HOLDER_READ_ATTEMPTS; ++attempt) {
    if (const long pid = folder_lock_detail::holder_by_contents(fd)) return pid;
    usleep(folder_lock_detail::HOLDER_READ_PAUSE);
  }
  return 0;
}

// TAKE_FOLDER_LOCK
// Takes the lock of a folder without waiting and, once taken, writes this
// process's id into the lock file. The file is never followed through a
// symbolic link.
//   in:  folder  the folder, "" for the current one
//   out: fd      the open lock file, which holds the lock while it is open
//                (RELEASE_FOLDER_LOCK); -1 unless Taken
//   out: holder  the process holding it when it is held (0 when unknown)
inline FolderLockState TAKE_FOLDER_LOCK(const std::string& folder, int& fd, long& holder) {
  fd = -1;
  holder = 0;
  const std::string path = folder.empty() ? FOLDER_LOCK_FILE : folder + "/" + FOLDER_LOCK_FILE;
  const int file =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, folder_lock_detail::LOCK_FILE_PERMISSIONS);
  if (file < 0) return FolderLockState::Unavailable;
  struct stat entry {};
  if (fstat(file, &entry) != 0 || !S_ISREG(entry.st_mode)) {
    ::close(file);
    errno = EINVAL;
    return FolderLockState::Unavailable;
  }
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) holder = FOLDER_LOCK_HOLDER(file);
    ::close(file);
    errno = error;
    if (error != EWOULDBLOCK) return FolderLockState::Unavailable;
    return holder == static_cast<long>(getpid()) ? FolderLockState::HeldByThisProcess : FolderLockState::HeldByOther;
  }
  // The id first, then the length: a reader never finds the file empty
  // while an earlier holder's longer id stood in it.
  const std::string id = std::to_string(static_cast<long>(getpid())) + "\n";
  if (pwrite(file, id.data(), id.size(), 0) == static_cast<ssize_t>(id.size())) {
    [[maybe_unused]] const int cut = ftruncate(file, static_cast<off_t>(id.size()));
  }
  fd = file;
  return FolderLockState::Taken;
}

// RELEASE_FOLDER_LOCK
// Empties the lock file and closes it, which lets the lock go; fd := -1.
// Nothing for fd -1.
inline void RELEASE_FOLDER_LOCK(int& fd) {
  if (fd < 0) return;
  [[maybe_unused]] const int cut = ftruncate(fd, 0);
  ::close(fd);
  fd = -1;
}

}  // namespace pilecap
