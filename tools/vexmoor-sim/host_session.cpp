#include "host_session.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <thread>

#include "host/host_message.h"
#include "host_datagram.h"
#include "host_pipe.h"
#include "message_line.h"
#include "platform/file_error.h"
#include "platform/last_error.h"
#include "platform/read_file.h"
#include "plugin_process.h"
#include "record_line.h"
#include "work_file.h"

namespace vexmoor {

namespace {

// Pairs of pipe ids drawn before the host gives up: a squatter would need to hold most of the
// 2^30 pairs to make every draw fail.
constexpr int kPipeIdDraws = 64;
constexpr size_t kLargestShown = size_t{64} << 20;

// A last error as the reason in a line.
std::string DescribeLastError(uint32_t error) {
  if (error == tessik::kErrorInvalidData) return "its header holds positions outside the ring";
  if (error >= tessik::kErrorLinuxErrnoBase) {
    return std::strerror(static_cast<int>(error - tessik::kErrorLinuxErrnoBase));
  }
  return "error " + std::to_string(error);
}

bool WriteFile(const std::string& directory, const std::string& name, const std::string& text,
               std::string& error, WriteMode mode = WriteMode::Replace) {
  std::string reason;
  if (WriteWorkFile(directory, name, text, reason, mode)) return true;
  error = "cannot write " + name + ": " + reason;
  return false;
}

// A file's bytes as printable text: line feeds end lines, other control bytes read \r or \xHH.
std::string Printable(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    static const char kHex[] = "0123456789abcdef";
    if (c == '\r') {
      text += "\\r";
    } else if (c < 0x20 && c != '\n') {
      text += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

}  // namespace

HostSession::~HostSession() {
  if (plugin_ > 0 && !exitCode_) {
    kill(plugin_, SIGKILL);
    waitpid(plugin_, nullptr, 0);
  }
  if (pipesCreated_) {
    RemoveHostPipe(input_.pipeId);
    RemoveHostPipe(output_.pipeId);
  }
}

bool HostSession::Start(const std::string& pluginPath, const std::string& directory, int pipeSize,
                        std::string& error) {
  if (!queue_.Bind()) {
    error = "cannot open the host's message queue: " + queue_.BindFault();
    return false;
  }
  if (!queue_.Detour().empty()) notes_ << "vexmoor-sim: " << queue_.Detour() << '\n';
  if (!CreatePipes(pipeSize, error)) return false;
  plugin_ = StartPlugin(pluginPath, directory, error);
  if (plugin_ < 0) return false;
  if (!Announce(input_.pipeId, pipeSize, error) || !Announce(output_.pipeId, pipeSize, error)) {
    return false;
  }
  for (auto deadline = Clock::now() + kPatience; !greeted_; Pump(std::chrono::milliseconds(20))) {
    if (PluginEnded() || Clock::now() > deadline) {
      error = "the plug-in did not greet";
      return false;
    }
  }
  if (!Sync()) {
    error = "the plug-in did not finish its greeting";
    return false;
  }
  return true;
}

bool HostSession::CreatePipes(int pipeSize, std::string& error) {
  // Ids anyone may have taken are drawn at random from the whole range of the protocol's int32
  // (an odd input id, the even one after it), so that names put in the way cannot use them up.
  std::random_device entropy;
  std::uniform_int_distribution<int> pairs(0, std::numeric_limits<int32_t>::max() / 2 - 1);
  int othersPairs = 0, ownPairs = 0;
  for (int draw = 0; draw < kPipeIdDraws; ++draw) {
    const int id = 2 * pairs(entropy) + 1;  // IsInputPipeId
    if (std::optional<PipeObject> object = ExistingPipeObject(id)) {
      if (object->owner == geteuid()) {
        ++ownPairs;  // a host that runs, or one that ended without removing them
        continue;
      }
      notes_ << "vexmoor-sim: pipe ids " << id << " and " << id + 1 << " not used: " << object->name
             << " belongs to uid " << object->owner << '\n';
      ++othersPairs;
      continue;
    }
    if (!CreateHostPipe(input_, id, pipeSize, 0)) continue;
    if (CreateHostPipe(output_, id + 1, pipeSize, tessik::GetCurrentThreadId())) {
      pipesCreated_ = true;
      return true;
    }
    RemoveHostPipe(id);
  }
  if (othersPairs + ownPairs < kPipeIdDraws) {
    error = "cannot create a pair of pipes (is shared memory available in /dev/shm?)";
  } else {
    error = "no free pipe ids in " + std::to_string(kPipeIdDraws) +
            " random pairs: " + std::to_string(othersPairs) +
            " were held by other users' objects, " + std::to_string(ownPairs) +
            " by this user's (of a host that runs, or left by one "
            "that ended)";
  }
  return false;
}

bool HostSession::Announce(int id, int size, std::string& error) {
  for (auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
    if (tessik::PostThreadMessageA(static_cast<uint32_t>(plugin_), tessik::g_ipcNewPipeMessage,
                                   static_cast<uint32_t>(id), static_cast<uint32_t>(size))) {
      return true;
    }
    if (PluginEnded()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  error = "the plug-in's message queue did not open (pipe " + std::to_string(id) + ")";
  return false;
}

bool HostSession::PluginEnded() {
  if (!exitCode_) exitCode_ = PluginExitCode(plugin_);
  return exitCode_.has_value();
}

void HostSession::Pump(std::chrono::milliseconds timeout) {
  pollfd watch{queue_.Descriptor(), POLLIN, 0};
  poll(&watch, 1, static_cast<int>(timeout.count()));
  tessik::ThreadMessage notification;
  while (queue_.Receive(notification)) {
  }
  while (std::optional<tessik::HostMessage> message = tessik::ReceiveIPCMessage(output_)) {
    out_ << FormatMessageLine(*message) << '\n' << std::flush;
    ++messagesReceived_;
    if (message->type == tessik::kMsgPluginName) greeted_ = true;
    if (message->kind == tessik::PayloadKind::Value) NoteWantedNumber(*message);
  }
}

void HostSession::NoteWantedNumber(const tessik::HostMessage& message) {
  if (message.type == tessik::kMsgWantDatagram) wantedFromHost_.insert(message.value);
  if (message.type == tessik::kMsgWantOtherDatagram) wantedFromOthers_.insert(message.value);
  if (message.type == tessik::kMsgDropOtherDatagram) wantedFromOthers_.erase(message.value);
}

bool HostSession::AwaitMessage(std::chrono::milliseconds timeout) {
  const uint64_t before = messagesReceived_;
  for (auto deadline = Clock::now() + timeout; messagesReceived_ == before;) {
    // Rounded up: the last part of a millisecond is waited for, not polled for.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    Pump(left);
  }
  return true;
}

bool HostSession::Sync() {
  int idleChecks = 0;
  for (auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
    Pump(std::chrono::milliseconds(5));
    if (PluginEnded()) return true;
    bool idle = PipeDrained(input_) && PluginWaitsForEvents(plugin_);
    idleChecks = idle ? idleChecks + 1 : 0;
    if (idleChecks == 2) {
      Pump(std::chrono::milliseconds(0));
      return true;
    }
  }
  return false;
}

bool HostSession::Send(int16_t type, const std::vector<unsigned char>& payload,
                       std::string& error) {
  for (auto deadline = Clock::now() + kPatience;;) {
    int32_t writePosition = WritePosition(input_);
    if (SendHostMessage(input_, type, payload)) return true;
    if (WritePosition(input_) != writePosition) return true;  // only the notification failed
    uint32_t cause = tessik::GetLastError();
    if (cause == tessik::kPipeWriteTooLarge || payload.size() > tessik::kMaxPayloadBytes) {
      error = "the message does not fit into the pipe";
      return false;
    }
    // A full ring, or a mutex whose owner died holding it (now consistent and given back):
    // the write is tried again.
    if (cause != tessik::kPipeNoSpace && cause != tessik::kPipeMutexAbandoned) {
      error = "the message was lost: cannot write the pipe: " + DescribeLastError(cause);
      return false;
    }
    if (PluginEnded() || Clock::now() > deadline) {
      error = "the plug-in does not read its pipe";
      return false;
    }
    Pump(std::chrono::milliseconds(2));
  }
}

bool HostSession::Play(const ScriptEvent& event, const std::string& directory, std::string& error) {
  Pump(std::chrono::milliseconds(0));
  const std::vector<std::string>& args = event.args;
  switch (event.verb) {
    case Verb::kDatagram:
      return Forward(args, error);
    case Verb::kEnd:
      sentEnd_ = true;
      return Send(tessik::kMsgConnectionEnded, {}, error);
    case Verb::kPause: {
      auto until = Clock::now() + std::chrono::milliseconds(std::stol(args[0]));
      while (Clock::now() < until && !PluginEnded()) Pump(std::chrono::milliseconds(5));
      return true;
    }
    case Verb::kSync:
      if (Sync()) return true;
      error = "the plug-in stayed busy for 10 s";
      return false;
    case Verb::kWaitFor:
      return WaitFor(directory, args[0], error);
    case Verb::kFile:
      return WriteFile(directory, args[0], args[1], error);
    case Verb::kLink: {
      std::string reason;
      if (MakeWorkLink(directory, args[0], args[1], reason)) return true;
      error = "cannot make the link " + args[0] + ": " + reason;
      return false;
    }
    case Verb::kGame: {
      tessik::GameRecord record;
      ParseRecordWords({args.begin() + 1, args.end()}, record, error);
      return WriteFile(directory, args[0], tessik::EncodeGameLog({record}), error,
                       WriteMode::Append);
    }
    case Verb::kGames:
    case Verb::kShow:
    case Verb::kLs:
      // After the plug-in has handled everything sent, its answers printed first.
      if (!PluginEnded() && !Sync()) {
        error = "the plug-in stayed busy for 10 s";
        return false;
      }
      Show(event, directory);
      return true;
    case Verb::kWaitExit:
      if (WaitForExit()) return true;
      error = "the plug-in did not end within 10 s";
      return false;
    case Verb::kVx2: {
      // The plug-in needs an absolute path: a relative one is taken from the script's directory.
      std::string text = "Vexmoor2 user file";
      text += '\0' + (scriptDirectory_ / args[1]).string() + '\0';
      return WriteFile(directory, args[0] + ".vx2", text, error);
    }
    case Verb::kRestart:
      break;
  }
  error = "restart is played by the run, which starts a new host";
  return false;
}

bool HostSession::Forward(const std::vector<std::string>& args, std::string& error) {
  sentEnd_ = false;  // a new session may follow the end of the last
  auto source = static_cast<uint16_t>(std::stoul(args[0]));
  auto number = static_cast<uint16_t>(std::stoul(args[1]));
  const auto& wanted = source == tessik::kHostEventSource ? wantedFromHost_ : wantedFromOthers_;
  if (!wanted.count(number)) return true;  // a host forwards only what was asked for
  std::vector<std::string> fields(args.begin() + 2, args.end());
  return Send(tessik::kMsgDatagram, EncodeDatagram(source, number, fields), error);
}

bool HostSession::WaitFor(const std::string& directory, const std::string& name,
                          std::string& error) {
  out_ << "waitfor " << name << std::endl;
  std::string flag = directory + "/" + name;
  for (auto deadline = Clock::now() + kWaitForFile; !std::filesystem::exists(flag);) {
    if (PluginEnded()) return true;
    if (Clock::now() > deadline) {
      error = "nothing made " + name + " within " + std::to_string(kWaitForFile.count()) + " s";
      return false;
    }
    Pump(std::chrono::milliseconds(20));
  }
  return true;
}

void HostSession::Show(const ScriptEvent& event, const std::string& directory) {
  out_ << FormOf(event.verb).word << ' ' << event.args[0] << '\n';
  if (event.verb == Verb::kLs) {
    std::error_code error;
    std::set<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(directory + "/" + event.args[0], error)) {
      names.insert(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
    }
    if (error) out_ << "  (" << error.message() << ")\n";
    for (const std::string& name : names) out_ << "  " << name << '\n';
    return;
  }
  // A name that stays inside (checked with the script), read as the plug-in reads its files.
  std::string contents;
  if (std::error_code error = tessik::ReadFileHead(AT_FDCWD, directory + "/" + event.args[0],
                                                   kLargestShown, contents)) {
    out_ << "  (" << tessik::DescribeReadError(error) << ")\n";
    return;
  }
  if (event.verb == Verb::kShow) {
    for (size_t start = 0; start < contents.size();) {
      size_t end = std::min(contents.find('\n', start), contents.size());
      std::string line = Printable(contents.substr(start, end - start));
      if (end == contents.size()) line += " (no line feed)";
      out_ << (line.empty() ? "" : "  ") << line << '\n';
      start = end + 1;
    }
    return;
  }
  size_t whole = contents.size() / tessik::kGameRecordBytes * tessik::kGameRecordBytes;
  for (size_t at = 0; at < whole; at += tessik::kGameRecordBytes) {
    auto record = tessik::DecodeGameRecord(reinterpret_cast<const unsigned char*>(&contents[at]));
    out_ << "  " << FormatRecordLine(record) << '\n';
  }
  if (whole < contents.size()) out_ << "  (and " << contents.size() - whole << " bytes)\n";
}

std::optional<int> HostSession::WaitForExit() {
  for (auto deadline = Clock::now() + kPatience; !PluginEnded() && Clock::now() < deadline;) {
    Pump(std::chrono::milliseconds(10));
  }
  Pump(std::chrono::milliseconds(0));
  return exitCode_;
}

}  // namespace vexmoor
