// One endpoint of a shared-memory pipe: a 12-byte header and a ring buffer, guarded by the
// pipe's named mutex.
#pragma once

#include <cstdint>
#include <string>

#include "platform/named_mutex.h"
#include "platform/shared_memory.h"

namespace tessik {

// Failure codes left as the thread's last error by ReadIPC and WriteIPC.
inline constexpr uint32_t kPipeMutexAbandoned = 0x20000001;
inline constexpr uint32_t kPipeNoSpace = 0x20000002;
inline constexpr uint32_t kPipeWriteTooLarge = 0x20000003;

// Little-endian words at offset 0 of the shared-memory object.
struct PipeHeader {
  uint32_t readerThreadId;  // the reader's thread, notified after each write
  int32_t readPos;          // advanced only by the reader
  int32_t writePos;         // advanced only by the writer
};
static_assert(sizeof(PipeHeader) == 12);

inline constexpr int kPipeHeaderBytes = sizeof(PipeHeader);

std::string MutexName(int pipeId);
std::string FileMappingName(int pipeId);

// Removes the names of a pipe's two objects. The host does it when it ends; the plug-in does it
// for a host that died without. Mappings already made stay valid.
void RemovePipeObjects(int pipeId);

class CIpcPipe {
 public:
  // Releases nothing: the pipe stays mapped until the process ends.
  virtual ~CIpcPipe() = default;

  // Opens the host's pipe objects. A pipe that is already open keeps working when a second
  // open fails, and is replaced when it succeeds.
  bool OpenIPC(int id, int size);
  // Copies up to count bytes (-1: all available) out of the ring: the number copied, 0 when
  // empty, -1 on failure.
  int ReadIPC(void* buffer, int count);
  // Copies length bytes (negative: a NUL-terminated text) into the ring as one block and
  // notifies the reader.
  bool WriteIPC(const void* buffer, int length);

  bool IsOpen() const { return dataArea != nullptr; }
  PipeHeader* Header() const { return reinterpret_cast<PipeHeader*>(dataArea - kPipeHeaderBytes); }

  int mapping = kNoHandle;
  MutexHandle mutex;
  int32_t pipeId = 0;
  unsigned char* dataArea = nullptr;
  int32_t dataSize = 0;
  bool isReader = false;

 private:
  // Locks the pipe; on failure sets the last error and leaves the ring alone.
  bool Lock();
  // Locks and reads both positions; fails, unlocked, when either lies outside the ring.
  bool LockPositions(int32_t& readPos, int32_t& writePos);
};

extern CIpcPipe g_inputPipe;   // odd ids: the host writes, the plug-in reads
extern CIpcPipe g_outputPipe;  // even ids: the plug-in writes, the host reads

// Numbers of the two registered thread messages.
extern const uint32_t g_ipcNewPipeMessage;    // wParam pipe id, lParam data size
extern const uint32_t g_ipcDataReadyMessage;  // wParam pipe id, lParam bytes written

}  // namespace tessik
