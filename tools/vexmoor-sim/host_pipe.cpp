#include "host_pipe.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "platform/shared_memory.h"

namespace vexmoor {

namespace {

// Where the system keeps POSIX shared-memory objects as files.
constexpr char kSharedMemoryDirectory[] = "/dev/shm";

// A new object of length bytes, zero-filled; -1 when it exists or cannot be made.
int CreateObject(const std::string& name, size_t length) {
  int fd =
      shm_open(tessik::PosixObjectName(name).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (fchmod(fd, 0600) != 0 || ftruncate(fd, static_cast<off_t>(length)) != 0) {
    close(fd);
    shm_unlink(tessik::PosixObjectName(name).c_str());
    return -1;
  }
  return fd;
}

bool InitialiseMutex(int fd) {
  void* view = mmap(nullptr, sizeof(pthread_mutex_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) return false;
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
  bool ok = pthread_mutex_init(static_cast<pthread_mutex_t*>(view), &attributes) == 0;
  pthread_mutexattr_destroy(&attributes);
  munmap(view, sizeof(pthread_mutex_t));
  return ok;
}

}  // namespace

bool CreateHostPipe(tessik::CIpcPipe& pipe, int id, int size, uint32_t readerThreadId) {
  const std::string mutexName = tessik::MutexName(id);
  int mutexObject = CreateObject(mutexName, sizeof(pthread_mutex_t));
  if (mutexObject < 0) return false;
  bool initialised = InitialiseMutex(mutexObject);
  close(mutexObject);
  int mapping = initialised ? CreateObject(tessik::FileMappingName(id),
                                           static_cast<size_t>(size) + tessik::kPipeHeaderBytes)
                            : -1;
  if (mapping < 0) {
    shm_unlink(tessik::PosixObjectName(mutexName).c_str());  // only what was made here
    return false;
  }
  close(mapping);
  if (!pipe.OpenIPC(id, size)) {
    RemoveHostPipe(id);
    return false;
  }
  std::atomic_ref<uint32_t>(pipe.Header()->readerThreadId).store(readerThreadId);
  return true;
}

void RemoveHostPipe(int id) { tessik::RemovePipeObjects(id); }

bool PipeDrained(const tessik::CIpcPipe& pipe) {
  return std::atomic_ref<int32_t>(pipe.Header()->readPos).load() == WritePosition(pipe);
}

int32_t WritePosition(const tessik::CIpcPipe& pipe) {
  return std::atomic_ref<int32_t>(pipe.Header()->writePos).load();
}

std::optional<PipeObject> ExistingPipeObject(int id) {
  for (int pipeId : {id, id + 1}) {
    for (const std::string& name : {tessik::MutexName(pipeId), tessik::FileMappingName(pipeId)}) {
      std::string posixName = tessik::PosixObjectName(name);
      struct stat info {};
      if (lstat((kSharedMemoryDirectory + posixName).c_str(), &info) == 0) {
        return PipeObject{posixName, info.st_uid};
      }
    }
  }
  return std::nullopt;
}

}  // namespace vexmoor
