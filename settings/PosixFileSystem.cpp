#include "settings/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/FileError.h"
#include "common/Unicode.h"
#include "common/UniqueResource.h"

namespace {

struct FileDescriptorTraits {
  using Handle = int;
  static constexpr Handle Invalid() noexcept { return -1; }
  static bool IsValid(Handle fd) noexcept { return fd >= 0; }
  // Closing can report a failed write; the caller must see it.
  static bool Close(Handle fd) noexcept { return ::close(fd) == 0; }
};
using UniqueFd = UniqueResource<FileDescriptorTraits>;

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : FPath(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!FPath.empty()) ::unlink(FPath.c_str());
  }

  const std::string& Path() const { return FPath; }
  void Release() { FPath.clear(); }

 private:
  std::string FPath;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool PosixFileSystem::Exists(const std::wstring& path) {
  struct stat status {};
  return ::stat(ToUtf8(path).c_str(), &status) == 0;
}

std::string PosixFileSystem::ReadAll(const std::wstring& path) {
  UniqueFd file(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) throw CannotReadError(path);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw CannotReadError(path);
    if (count == 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(count));
  }
}

void PosixFileSystem::WriteAtomically(const std::wstring& path, std::string_view bytes) {
  const std::string target = ToUtf8(path);
  TemporaryFile temporary(target + ".tmp");
  UniqueFd file(::open(temporary.Path().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!file.Valid()) throw CannotWriteError(path);
  // Keep the replaced file's permissions.
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0) ::fchmod(file.Get(), status.st_mode & 07777);
  if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0 || !file.Close()) throw CannotWriteError(path);
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) throw CannotWriteError(path);
  temporary.Release();
  // Make the rename itself durable.
  UniqueFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) ::fsync(folder.Get());
}
