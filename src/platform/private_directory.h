// Folders held open: the plug-in's data folder, and the folders that lead to it.
//
// A folder is checked once, through the descriptor that opened it, and every file in it is
// then reached relative to that descriptor (openat, renameat, unlinkat, fstatat). A name is
// looked up afresh at each use, so a check made on a path would say nothing about the folder
// that a later use of the same path reaches: anyone who may write the parent could swap the
// folder for a link in between. The descriptor stays bound to the folder that was checked,
// whatever happens to its name.
#pragma once

#include <string>
#include <system_error>
#include <utility>

namespace tessik {

// An open folder; owns its descriptor. path names it in messages only: nothing is reached
// through it.
class Folder {
 public:
  Folder() = default;
  Folder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  Folder(Folder&& other) noexcept;
  Folder& operator=(Folder&& other) noexcept;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder() { Close(); }

  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // The descriptor, for the *at calls; -1 when closed.
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

 private:
  int fd_ = -1;
  std::string path_;
};

// What became of a private folder's opening.
struct FolderCheck {
  // No error when the folder is open, else why it cannot be used: a FolderProblem, or the
  // system's failure.
  std::error_code error;
  // The folder was open to other users and has been closed to them (mode 0700).
  bool tightened = false;
};

// Opens the folder name inside parent (a path; "" is the current directory), making it with
// mode 0700 when it is missing. parent is refused when users other than this one may write it
// (others' write permission, or the group's through a group that holds another user), unless
// it is sticky and this user's own: there anyone could put their own folder, or a link, in
// place of ours. The folder itself must be a real directory of the effective user; read,
// write or search permission for group and others is taken away. On success folder holds it.
FolderCheck OpenPrivateFolder(const std::string& parent, const std::string& name, Folder& folder);

// Opens the folder at path for reading (a link in its place is refused: ELOOP, even with a
// slash at the end). Returns no error, or the failure's.
std::error_code OpenFolder(const std::string& path, Folder& folder);

// Opens the folder at path as OpenFolder does, refusing it (OpenToOthers) when users other than
// this one may write in it, by the rule OpenPrivateFolder applies to its parent.
std::error_code OpenUnsharedFolder(const std::string& path, Folder& folder);

}  // namespace tessik
