// Named cross-process mutexes: a robust, process-shared pthread mutex at offset 0 of the
// shared-memory object of the same name. The host creates and initialises it.
//
// The desktop platform's named mutexes (OpenMutexA, WaitForSingleObject, ReleaseMutex) tell a
// waiter when the previous owner died holding the lock ("abandoned"). A robust pthread mutex
// does the same (EOWNERDEAD), which is why it stands in here rather than a semaphore or a file
// lock; the desktop names stay, since the pipe code of both sides speaks in them.
#pragma once

#include <pthread.h>

#include <string_view>

namespace tessik {

struct MutexHandle {
  int object = -1;
  pthread_mutex_t* lock = nullptr;
};

enum class WaitResult { Acquired, Abandoned, Failed };

// Opens an existing mutex. Returns a handle without a lock and sets the last error on failure.
MutexHandle OpenMutexA(std::string_view name);

// Waits without a time limit, so a wait never times out. Abandoned: the previous owner died holding
// it; the caller now owns it and the mutex has been made consistent. Failed: the caller does not
// own it.
WaitResult WaitForSingleObject(const MutexHandle& mutex);

void ReleaseMutex(const MutexHandle& mutex);

void CloseMutex(MutexHandle& mutex);

}  // namespace tessik
