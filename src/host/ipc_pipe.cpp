#include "host/ipc_pipe.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "platform/host_tag.h"
#include "platform/last_error.h"
#include "platform/thread_queue.h"

namespace tessik {

CIpcPipe g_inputPipe;
CIpcPipe g_outputPipe;
const uint32_t g_ipcNewPipeMessage = RegisterWindowMessageA("IPCNewPipe");
const uint32_t g_ipcDataReadyMessage = RegisterWindowMessageA("IPCDataReady");

namespace {

// The peer may write the header at any time: read each position once and check it.
int32_t LoadPosition(int32_t& position) {
  return std::atomic_ref<int32_t>(position).load(std::memory_order_relaxed);
}

void StorePosition(int32_t& position, int32_t value) {
  std::atomic_ref<int32_t>(position).store(value, std::memory_order_relaxed);
}

bool InRing(int32_t position, int32_t size) { return position >= 0 && position < size; }

int32_t Advance(int32_t position, int32_t bytes, int32_t size) {
  position += bytes;
  return position >= size ? position - size : position;
}

}  // namespace

std::string MutexName(int pipeId) {
  return std::string(kHostTag) + ".IPCMutex" + std::to_string(pipeId);
}

std::string FileMappingName(int pipeId) {
  return std::string(kHostTag) + ".IPCFileMapping" + std::to_string(pipeId);
}

void RemovePipeObjects(int pipeId) {
  shm_unlink(PosixObjectName(MutexName(pipeId)).c_str());
  shm_unlink(PosixObjectName(FileMappingName(pipeId)).c_str());
}

bool CIpcPipe::OpenIPC(int id, int size) {
  if (size <= 0 || size > INT32_MAX - kPipeHeaderBytes) {
    SetLastError(kErrorInvalidParameter);
    return false;
  }
  MutexHandle newMutex = OpenMutexA(MutexName(id));
  if (newMutex.lock == nullptr) return false;
  int newMapping = OpenFileMappingA(FileMappingName(id));
  if (newMapping == kNoHandle) {
    CloseMutex(newMutex);
    return false;
  }
  void* view = MapViewOfFile(newMapping, static_cast<size_t>(size) + kPipeHeaderBytes);
  if (view == nullptr) {
    CloseHandle(newMapping);
    CloseMutex(newMutex);
    return false;
  }
  if (IsOpen()) {
    UnmapViewOfFile(Header(), static_cast<size_t>(dataSize) + kPipeHeaderBytes);
    CloseHandle(mapping);
    CloseMutex(mutex);
  }
  pipeId = id;
  mutex = newMutex;
  mapping = newMapping;
  dataArea = static_cast<unsigned char*>(view) + kPipeHeaderBytes;
  dataSize = size;
  isReader = id % 2 == 1;
  if (isReader) {
    std::atomic_ref<uint32_t>(Header()->readerThreadId)
        .store(GetCurrentThreadId(), std::memory_order_relaxed);
  }
  return true;
}

bool CIpcPipe::Lock() {
  if (!IsOpen()) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  switch (WaitForSingleObject(mutex)) {
    case WaitResult::Acquired:
      return true;
    case WaitResult::Abandoned:
      ReleaseMutex(mutex);  // given back so that the host is not blocked
      SetLastError(kPipeMutexAbandoned);
      return false;
    case WaitResult::Failed:
      return false;
  }
  return false;
}

bool CIpcPipe::LockPositions(int32_t& readPos, int32_t& writePos) {
  if (!Lock()) return false;
  readPos = LoadPosition(Header()->readPos);
  writePos = LoadPosition(Header()->writePos);
  if (InRing(readPos, dataSize) && InRing(writePos, dataSize)) return true;
  ReleaseMutex(mutex);
  SetLastError(kErrorInvalidData);
  return false;
}

int CIpcPipe::ReadIPC(void* buffer, int count) {
  if (count < -1) {
    SetLastError(kErrorInvalidParameter);
    return -1;
  }
  int32_t readPos = 0;
  int32_t writePos = 0;
  if (!LockPositions(readPos, writePos)) return -1;
  int32_t available = writePos - readPos;
  if (available < 0) available += dataSize;
  int32_t n = (count == -1 || count > available) ? available : count;
  int32_t firstPiece = std::min(n, dataSize - readPos);
  auto* out = static_cast<unsigned char*>(buffer);
  std::memcpy(out, dataArea + readPos, static_cast<size_t>(firstPiece));
  std::memcpy(out + firstPiece, dataArea, static_cast<size_t>(n - firstPiece));
  StorePosition(Header()->readPos, Advance(readPos, n, dataSize));
  ReleaseMutex(mutex);
  return n;
}

bool CIpcPipe::WriteIPC(const void* buffer, int length) {
  if (length == 0) return true;
  if (length < 0) length = static_cast<int>(std::strlen(static_cast<const char*>(buffer)));
  if (!IsOpen()) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  if (length >= dataSize) {
    SetLastError(kPipeWriteTooLarge);
    return false;
  }
  int32_t readPos = 0;
  int32_t writePos = 0;
  if (!LockPositions(readPos, writePos)) return false;
  int32_t free = readPos - writePos - 1;
  if (free < 0) free += dataSize;
  if (length > free) {
    ReleaseMutex(mutex);
    SetLastError(kPipeNoSpace);
    return false;
  }
  int32_t firstPiece = std::min(length, dataSize - writePos);
  const auto* in = static_cast<const unsigned char*>(buffer);
  std::memcpy(dataArea + writePos, in, static_cast<size_t>(firstPiece));
  std::memcpy(dataArea, in + firstPiece, static_cast<size_t>(length - firstPiece));
  StorePosition(Header()->writePos, Advance(writePos, length, dataSize));
  uint32_t reader = std::atomic_ref<uint32_t>(Header()->readerThreadId).load();
  ReleaseMutex(mutex);
  return PostThreadMessageA(reader, g_ipcDataReadyMessage, static_cast<uint32_t>(pipeId),
                            static_cast<uint32_t>(length));
}

}  // namespace tessik
