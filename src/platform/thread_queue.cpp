#include "platform/thread_queue.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/host_tag.h"
#include "platform/last_error.h"

namespace tessik {

namespace {

sockaddr_un AbstractAddress(const std::string& name, socklen_t& length) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  size_t bytes = std::min(name.size(), sizeof(address.sun_path) - 1);
  std::memcpy(address.sun_path + 1, name.data(), bytes);  // sun_path[0] = 0: abstract
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes);
  return address;
}

void PutWord(unsigned char* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetWord(const unsigned char* in) {
  return in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
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

int SenderSocket() {
  static const int sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  return sender;
}

}  // namespace

uint32_t RegisterWindowMessageA(std::string_view name) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : name) {
    hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
    hash *= 16777619u;
  }
  return 0xC000u + hash % 0x4000u;
}

uint32_t GetCurrentThreadId() { return static_cast<uint32_t>(gettid()); }

std::string ThreadQueueName(uint32_t threadId) {
  return std::string(kHostTag) + ".ThreadQueue." + std::to_string(threadId);
}

bool PostThreadMessageA(uint32_t threadId, uint32_t message, uint32_t wParam, uint32_t lParam) {
  if (SenderSocket() < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  unsigned char packet[kThreadMessageBytes];
  PutWord(packet, message);
  PutWord(packet + 4, wParam);
  PutWord(packet + 8, lParam);
  socklen_t length = 0;
  sockaddr_un address = AbstractAddress(ThreadQueueName(threadId), length);
  ssize_t sent = sendto(SenderSocket(), packet, sizeof packet, MSG_DONTWAIT | MSG_NOSIGNAL,
                        reinterpret_cast<sockaddr*>(&address), length);
  if (sent != static_cast<ssize_t>(sizeof packet)) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

ThreadQueue::~ThreadQueue() {
  if (socket_ >= 0) close(socket_);
}

bool ThreadQueue::Bind() {
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  int on = 1;
  socklen_t length = 0;
  sockaddr_un address = AbstractAddress(ThreadQueueName(GetCurrentThreadId()), length);
  if (setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
      bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    SetLastErrorFromErrno();
    close(fd);
    return false;
  }
  if (socket_ >= 0) close(socket_);
  socket_ = fd;
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
    message.message = GetWord(packet);
    message.wParam = GetWord(packet + 4);
    message.lParam = GetWord(packet + 8);
    return true;
  }
}

}  // namespace tessik
