// The substitute host's side of one run: the pipes, the plug-in process and the datagram
// numbers the plug-in asked for.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "host/host_message.h"
#include "host/ipc_pipe.h"
#include "platform/thread_queue.h"
#include "script.h"

namespace vexmoor {

using Clock = std::chrono::steady_clock;
inline constexpr std::chrono::seconds kPatience{10};
inline constexpr std::chrono::seconds kWaitForFile{120};

class HostSession {
 public:
  // Every message the plug-in sends is printed to out, one line each; notes on what the host
  // found in its way go to notes.
  HostSession(std::ostream& out, std::ostream& notes) : out_(out), notes_(notes) {}
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;
  // Removes the pipe objects; ends the plug-in if it still runs.
  ~HostSession();

  // Creates the pipes, starts the plug-in in directory, announces the pipes and waits for the
  // greeting. False with a reason in error.
  bool Start(const std::string& pluginPath, const std::string& directory, int pipeSize,
             std::string& error);

  // Plays one script event. False with a reason when it could not be carried out.
  bool Play(const ScriptEvent& event, const std::string& directory, std::string& error);

  bool SentEnd() const { return sentEnd_; }
  // Where relative paths of the script lead from: the script's own directory.
  void SetScriptDirectory(const std::filesystem::path& directory) { scriptDirectory_ = directory; }
  // Whether the plug-in has ended (the user may close it from its window).
  bool PluginEnded();

  // Waits up to timeout until the plug-in has sent a message, printed as any: false when none
  // came. A host's measure of a message's way there and back.
  bool AwaitMessage(std::chrono::milliseconds timeout);

  // Waits for the plug-in to end, printing what it still sends; its exit code, or nothing
  // when it is still running after kPatience.
  std::optional<int> WaitForExit();

 private:
  // Creates a pair of pipes at ids drawn at random that nothing holds yet, passing over the
  // ids of objects in the way (with a note for another user's).
  bool CreatePipes(int pipeSize, std::string& error);
  // Prints what the plug-in sent, waiting up to timeout for a notification first.
  void Pump(std::chrono::milliseconds timeout);
  // Until the plug-in has read everything sent and sleeps in its event loop.
  bool Sync();
  // A script's datagram (SOURCE NUMBER FIELD...), if the plug-in asked for its number.
  bool Forward(const std::vector<std::string>& args, std::string& error);
  // Prints "waitfor NAME", then waits until the file name exists in directory.
  bool WaitFor(const std::string& directory, const std::string& name, std::string& error);
  void NoteWantedNumber(const tessik::HostMessage& message);
  // Writes one message to the input pipe, waiting while the ring is full and taking back a
  // mutex its owner left by dying. False with a reason when the message is lost.
  bool Send(int16_t type, const std::vector<unsigned char>& payload, std::string& error);
  bool Announce(int id, int size, std::string& error);
  // Prints a file inside directory (show: its lines; games: its records), or a folder's names.
  void Show(const ScriptEvent& event, const std::string& directory);

  std::ostream& out_;
  std::ostream& notes_;
  tessik::ThreadQueue queue_;
  tessik::CIpcPipe input_;   // host to plug-in, odd id
  tessik::CIpcPipe output_;  // plug-in to host, even id
  bool pipesCreated_ = false;
  pid_t plugin_ = -1;
  std::optional<int> exitCode_;
  bool greeted_ = false;
  uint64_t messagesReceived_ = 0;
  bool sentEnd_ = false;
  std::filesystem::path scriptDirectory_ = std::filesystem::current_path();
  std::set<uint16_t> wantedFromHost_;    // asked for with kMsgWantDatagram
  std::set<uint16_t> wantedFromOthers_;  // kMsgWantOtherDatagram, kMsgDropOtherDatagram
};

}  // namespace vexmoor
