#include "platform/named_mutex.h"

#include <cerrno>

#include "platform/last_error.h"
#include "platform/shared_memory.h"

namespace tessik {

MutexHandle OpenMutexA(std::string_view name) {
  MutexHandle mutex;
  int object = OpenFileMappingA(name);
  if (object == kNoHandle) return mutex;
  void* view = MapViewOfFile(object, sizeof(pthread_mutex_t));
  if (view == nullptr) {
    CloseHandle(object);
    return mutex;
  }
  mutex.object = object;
  mutex.lock = static_cast<pthread_mutex_t*>(view);
  return mutex;
}

WaitResult WaitForSingleObject(const MutexHandle& mutex) {
  if (mutex.lock == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return WaitResult::Failed;
  }
  int result = pthread_mutex_lock(mutex.lock);
  if (result == 0) return WaitResult::Acquired;
  if (result == EOWNERDEAD) {
    pthread_mutex_consistent(mutex.lock);
    return WaitResult::Abandoned;
  }
  SetLastError(LastErrorFromErrno(result));
  return WaitResult::Failed;
}

void ReleaseMutex(const MutexHandle& mutex) {
  if (mutex.lock != nullptr) pthread_mutex_unlock(mutex.lock);
}

void CloseMutex(MutexHandle& mutex) {
  UnmapViewOfFile(mutex.lock, sizeof(pthread_mutex_t));
  CloseHandle(mutex.object);
  mutex = MutexHandle{};
}

}  // namespace tessik
