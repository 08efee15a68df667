// SPDX-License-Identifier: MIT
// The file store: a registry export file read whole, bounded in size, and replaced atomically.
#include "settings/qt/file_registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace qup::settings {
namespace {

constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE\\";

// Closes a POSIX descriptor when leaving scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A rename is on disk only once the folder that holds the name is.
void SyncFolder(const std::string& folder) {
  const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// Whether name is one of the save's temporary files for the file named base: base, a full
// stop and six letters or digits, the names QSaveFile gives them.
bool IsTemporaryName(std::string_view name, std::string_view base) {
  constexpr std::size_t kRandomPart = 6;
  if (name.size() != base.size() + 1 + kRandomPart || !name.starts_with(base) ||
      name[base.size()] != '.') {
    return false;
  }
  return std::all_of(name.end() - kRandomPart, name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  });
}

// A save killed between writing its temporary file and renaming it leaves that file behind.
// Removes those of ours beside path: regular files of the user's, not touched for a while
// (a save in progress in another copy of the program is left alone), nothing else.
void RemoveLeftoverTemporaries(const std::string& folder, std::string_view base) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name, base)) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        std::llabs(static_cast<long long>(now - info.st_mtime)) < FileRegistry::kLeftoverSeconds) {
      continue;
    }
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

FileRegistry::FileRegistry() : path_(DefaultPath()) {}
FileRegistry::FileRegistry(std::string path) : path_(std::move(path)) {}

std::string FileRegistry::DefaultPath() {
  // GenericConfigLocation is $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return folder.toStdString() + "/Kestrane/QU.reg";
}

bool FileRegistry::OpenKey(std::uint32_t root, std::string_view path, std::uint32_t /*access*/,
                           RegKey& key) {
  std::string text;
  if (root != kHkeyLocalMachine || !ReadFile(text)) return false;
  key = AddKey(path, text);
  return true;
}

bool FileRegistry::CreateKey(std::uint32_t root, std::string_view path, RegKey& key) {
  if (root != kHkeyLocalMachine) return false;
  std::string text;
  if (!ReadFile(text)) {
    // Only a missing file is made; one that exists but is refused stays refused.
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0 || errno != ENOENT) return false;
    OpenedKey empty{std::string(kRootName) + std::string(path), {}, false};
    if (!MakeFolder() || !WriteFile(empty.values.Format(empty.name)) || !ReadFile(text)) {
      return false;
    }
  }
  key = AddKey(path, text);
  return true;
}

bool FileRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                            std::span<const std::uint8_t> data) {
  const auto found = keys_.find(key);
  if (found == keys_.end()) return false;
  found->second.values.Set(name, type, {data.begin(), data.end()});
  found->second.modified = true;
  return true;
}

bool FileRegistry::QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                              std::size_t& size) {
  const auto found = keys_.find(key);
  if (found == keys_.end()) return false;
  const RegValue* value = found->second.values.Find(name);
  if (value == nullptr) return false;
  return CopyValueOut(value->data, buffer, size);
}

bool FileRegistry::FlushKey(RegKey key) {
  const auto found = keys_.find(key);
  return found != keys_.end() && Write(found->second);
}

void FileRegistry::CloseKey(RegKey key) {
  const auto found = keys_.find(key);
  if (found == keys_.end()) return;
  Write(found->second);
  keys_.erase(found);
}

bool FileRegistry::ReadFile(std::string& text) const {
  // Non-blocking, so that a pipe put in the file's place cannot stall the open; it is then
  // refused as not a regular file.
  const Descriptor fd(::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  text.clear();
  if (info.st_size > kMaxFileBytes) return true;
  // Only as much as the file held when opened: one that grows meanwhile cannot keep us reading.
  std::string buffer(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t got = ::read(fd.get(), buffer.data() + filled, buffer.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  text.assign(buffer.data(), filled);
  return true;
}

bool FileRegistry::WriteFile(const std::string& text) const {
  // QSaveFile writes a temporary file beside the target, syncs it and renames it over the
  // target: a crash or a full disk leaves the old file whole.
  QSaveFile file(QString::fromStdString(path_));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    file.cancelWriting();
    file.commit();
    return false;
  }
  if (!file.commit()) return false;
  const std::string folder = FolderOf(path_);
  RemoveLeftoverTemporaries(folder, std::string_view(path_).substr(path_.find_last_of('/') + 1));
  SyncFolder(folder);
  return true;
}

bool FileRegistry::MakeFolder() const {
  // The figures are the user's own: folders made here are private to the user.
  const std::string folder = FolderOf(path_);
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

RegKey FileRegistry::AddKey(std::string_view path, const std::string& text) {
  std::string name = std::string(kRootName) + std::string(path);
  RegExport values = RegExport::Parse(text, name);
  const RegKey key = next_key_++;
  keys_.emplace(key, OpenedKey{std::move(name), std::move(values), false});
  return key;
}

bool FileRegistry::Write(OpenedKey& key) {
  if (!key.modified) return true;
  if (!WriteFile(key.values.Format(key.name))) return false;
  key.modified = false;
  return true;
}

}  // namespace qup::settings
