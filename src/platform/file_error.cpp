#include "platform/file_error.h"

#include <cstring>

namespace tessik {

namespace {

class FolderProblemCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "data folder"; }
  std::string message(int value) const override {
    switch (static_cast<FolderProblem>(value)) {
      case FolderProblem::SymbolicLink:
        return "is a symbolic link";
      case FolderProblem::NotADirectory:
        return "is not a directory";
      case FolderProblem::AnotherUsers:
        return "belongs to another user";
      case FolderProblem::OpenToOthers:
        return "is in a folder that other users may write";
    }
    return "cannot be used";
  }
};

}  // namespace

std::error_code make_error_code(FolderProblem problem) {
  static const FolderProblemCategory category;
  return {static_cast<int>(problem), category};
}

std::string DescribeReadError(std::error_code error) {
  if (error.category() != std::generic_category()) return error.message();
  if (error.value() == EINVAL) return "not a regular file";
  if (error.value() == ELOOP) return "a symbolic link";
  if (error.value() == EFBIG) return "too large";
  return std::strerror(error.value());
}

}  // namespace tessik
