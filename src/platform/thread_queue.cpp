#include "platform/thread_queue.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/little_endian.h"
#include "base/text.h"
#include "platform/host_tag.h"
#include "platform/last_error.h"

namespace tessik {

namespace {

// A queue's socket name must fit sun_path with its NUL, whatever the thread id.
constexpr size_t kLongestQueueName = sizeof "/ThreadQueue.4294967295" - 1;

// The queue directory's own name: the host tag in lower case.
std::string DirectoryName() { return FoldedCase(kHostTag); }

std::string QueuePath(const std::string& directory, uint32_t threadId) {
  return directory + "/ThreadQueue." + std::to_string(threadId);
}

sockaddr_un SocketAddress(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());  // FitsSocketName keeps it short
  return address;
}

// Takes errno as the last error and as the reason in fault; false.
bool SystemCallFailed(const std::string& what, std::string& fault) {
  int error = errno;
  fault = what + ": " + std::strerror(error);
  SetLastError(LastErrorFromErrno(error));
  return false;
}

// 0 when path is a directory of the effective user closed to everybody else, looked at without
// following a link; otherwise the errno of the look (ENOENT: missing) or EACCES, and fault says
// why.
int PrivateDirectoryFault(const std::string& path, std::string& fault) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) {
    int error = errno;
    fault = path + ": " + std::strerror(error);
    return error;
  }
  std::string found;
  if (S_ISLNK(info.st_mode)) {
    found = "it is a symbolic link";
  } else if (!S_ISDIR(info.st_mode)) {
    found = "it is not a directory";
  } else if (info.st_uid != geteuid()) {
    found = "it belongs to uid " + std::to_string(info.st_uid);
  } else if ((info.st_mode & 077) != 0) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    found = std::string("its mode is ") + mode;
  } else {
    return 0;
  }
  fault = path + " must be a directory of uid " + std::to_string(geteuid()) +
          " that only it may use (mode 0700); " + found;
  return EACCES;
}

// Whether a queue's socket name in directory fits sun_path with its NUL.
bool FitsSocketName(const std::string& directory) {
  return directory.size() + kLongestQueueName < sizeof(sockaddr_un::sun_path);
}

// "/tmp/vexmoor2-<uid>": the usual directory's place without a runtime directory, and the
// first part of a fresh one's name.
std::string TemporaryQueueDirectory() {
  return "/tmp/" + DirectoryName() + "-" + std::to_string(geteuid());
}

// $VEXMOOR2_QUEUE_DIR, $XDG_RUNTIME_DIR/vexmoor2 or /tmp/vexmoor2-<uid>, as ThreadQueuePath says.
std::string QueueDirectory() {
  const char* told = std::getenv(kQueueDirectoryVariable);
  if (told != nullptr && told[0] == '/' && FitsSocketName(told)) return told;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string ignored;
  if (runtime != nullptr && runtime[0] == '/' &&
      FitsSocketName(std::string(runtime) + "/" + DirectoryName()) &&
      PrivateDirectoryFault(runtime, ignored) == 0) {
    return std::string(runtime) + "/" + DirectoryName();
  }
  return TemporaryQueueDirectory();
}

// The queue directory, made when missing; an empty text when it may be used, otherwise
// why not.
std::string QueueDirectoryFault(const std::string& directory) {
  if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
    return "cannot make " + directory + ": " + std::strerror(errno);
  }
  std::string fault;
  PrivateDirectoryFault(directory, fault);
  return fault;
}

bool FromSameUser(msghdr& header) {
  const cmsghdr* control = CMSG_FIRSTHDR(&header);
  if (control == nullptr || control->cmsg_level != SOL_SOCKET ||
      control->cmsg_type != SCM_CREDENTIALS) {
    return false;
  }
  ucred sender{};
  std::memcpy(&sender, CMSG_DATA(control), sizeof sender);
  return sender.uid == geteuid();
}

// A socket connected to one thread's queue, kept for the posts that follow to the same thread:
// the directory is checked, and the name looked up, once per connection.
class QueueConnection {
 public:
  QueueConnection() = default;
  QueueConnection(const QueueConnection&) = delete;
  QueueConnection& operator=(const QueueConnection&) = delete;
  ~QueueConnection() { Close(); }

  // Sends one packet without blocking; false with the last error set.
  bool Send(uint32_t threadId, const unsigned char (&packet)[kThreadMessageBytes]) {
    int error = 0;
    for (int tries = 0; tries < 2; ++tries) {
      if ((socket_ < 0 || threadId_ != threadId) && !Connect(threadId)) return false;
      if (send(socket_, packet, sizeof packet, MSG_DONTWAIT | MSG_NOSIGNAL) ==
          static_cast<ssize_t>(sizeof packet)) {
        return true;
      }
      error = errno;
      if (error != ECONNREFUSED && error != ENOTCONN) break;
      Close();  // that queue has closed; another may have been bound under its name since
    }
    SetLastError(LastErrorFromErrno(error));
    return false;
  }

 private:
  bool Connect(uint32_t threadId) {
    Close();
    const std::string directory = QueueDirectory();
    std::string ignored;
    if (int error = PrivateDirectoryFault(directory, ignored)) {
      SetLastError(LastErrorFromErrno(error));
      return false;
    }
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address = SocketAddress(QueuePath(directory, threadId));
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      SetLastErrorFromErrno();
      if (fd >= 0) close(fd);
      return false;
    }
    socket_ = fd;
    threadId_ = threadId;
    return true;
  }

  void Close() {
    if (socket_ >= 0) close(socket_);
    socket_ = -1;
  }

  int socket_ = -1;
  uint32_t threadId_ = 0;
};

}  // namespace

uint32_t RegisterWindowMessageA(std::string_view name) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : name) {
    hash ^= static_cast<unsigned char>(FoldCase(c));
    hash *= 16777619u;
  }
  return 0xC000u + hash % 0x4000u;
}

uint32_t GetCurrentThreadId() { return static_cast<uint32_t>(gettid()); }

std::string ThreadQueuePath(uint32_t threadId) { return QueuePath(QueueDirectory(), threadId); }

bool PostThreadMessageA(uint32_t threadId, uint32_t message, uint32_t wParam, uint32_t lParam) {
  unsigned char packet[kThreadMessageBytes];
  PutLittleEndian<uint32_t>(packet, message);
  PutLittleEndian<uint32_t>(packet + 4, wParam);
  PutLittleEndian<uint32_t>(packet + 8, lParam);
  thread_local QueueConnection connection;
  return connection.Send(threadId, packet);
}

ThreadQueue::~ThreadQueue() {
  if (socket_ >= 0) {
    close(socket_);
    unlink(path_.c_str());
  }
  // Fails while another process's queue is still in it. Once it is gone, the next Bind looks
  // at the usual directory again.
  if (!madeDirectory_.empty() && rmdir(madeDirectory_.c_str()) == 0) {
    const char* told = std::getenv(kQueueDirectoryVariable);
    if (told != nullptr && told == madeDirectory_) unsetenv(kQueueDirectoryVariable);
  }
}

bool ThreadQueue::Bind() {
  std::string directory = QueueDirectory();
  if (std::string passedOver = QueueDirectoryFault(directory); !passedOver.empty()) {
    // Anyone may make /tmp/vexmoor2-<uid> first. A name mkdtemp draws is made by it alone,
    // mode 0700, so nobody else can hold it; the environment tells the processes started
    // from here where it is.
    std::string fresh = TemporaryQueueDirectory() + ".XXXXXX";
    if (mkdtemp(fresh.data()) == nullptr) {
      return SystemCallFailed(passedOver + "; cannot make " + fresh, fault_);
    }
    if (setenv(kQueueDirectoryVariable, fresh.c_str(), 1) != 0) {
      SystemCallFailed("cannot name " + fresh + " in the environment", fault_);
      rmdir(fresh.c_str());
      return false;
    }
    detour_ = passedOver + "; the queues are in " + fresh + " instead";
    madeDirectory_ = directory = fresh;
  }
  const std::string path = QueuePath(directory, GetCurrentThreadId());
  unlink(path.c_str());  // a queue left by a process that died: only the user can make one here
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  int on = 1;
  sockaddr_un address = SocketAddress(path);
  if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
      bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    SystemCallFailed("cannot bind " + path, fault_);
    if (fd >= 0) close(fd);
    return false;
  }
  if (socket_ >= 0) {
    close(socket_);
    if (path_ != path) unlink(path_.c_str());
  }
  socket_ = fd;
  path_ = path;
  fault_.clear();
  return true;
}

bool ThreadQueue::Receive(ThreadMessage& message) {
  for (;;) {
    unsigned char packet[kThreadMessageBytes + 1];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    iovec vector{packet, sizeof packet};
    msghdr header{};
    header.msg_iov = &vector;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    ssize_t received = recvmsg(socket_, &header, MSG_DONTWAIT);
    if (received < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (!FromSameUser(header) || received != static_cast<ssize_t>(kThreadMessageBytes)) continue;
    message.message = GetLittleEndian<uint32_t>(packet);
    message.wParam = GetLittleEndian<uint32_t>(packet + 4);
    message.lParam = GetLittleEndian<uint32_t>(packet + 8);
    return true;
  }
}

}  // namespace tessik
