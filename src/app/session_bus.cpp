#include "app/session_bus.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "common/qt_text.h"

namespace velaron::app {
namespace {

using Clock = std::chrono::steady_clock;

// What a bus did with the probe's connection.
enum class Reply {
  kAnswered,  // replied to the bus's Hello, or refused or broke off the connection (the bus library sees it at once)
  kSilent,    // took the connection (or left it waiting) and fell silent before its reply to Hello
  kNone,      // no bus there: the bus library goes on to the address's next entry
  kNotAsked,  // no socket could be made
};

struct UnixSocket {
  sockaddr_un address{};
  socklen_t size = 0;
};

// The socket at `name`: a path, or a name in the abstract namespace. Nothing when it is too long for one (the bus
// library refuses it at once).
std::optional<UnixSocket> SocketAt(std::string_view name, bool abstract) {
  UnixSocket socket;
  socket.address.sun_family = AF_UNIX;
  // A path ends with a zero byte; an abstract name begins with one.
  if (name.empty() || name.size() + 1 > sizeof(socket.address.sun_path)) return std::nullopt;
  std::memcpy(socket.address.sun_path + (abstract ? 1 : 0), name.data(), name.size());
  socket.size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size() + 1);
  return socket;
}

// The Unix socket that one entry of a bus address names ("unix:path=/run/user/1000/bus,guid=..." or
// "unix:abstract=..."), its %XX escapes undone. Nothing for an entry of another kind.
std::optional<UnixSocket> SocketOfEntry(std::string_view entry) {
  constexpr std::string_view kUnix = "unix:";
  if (!entry.starts_with(kUnix)) return std::nullopt;
  entry.remove_prefix(kUnix.size());
  while (!entry.empty()) {
    const std::string_view pair = entry.substr(0, entry.find(','));
    entry.remove_prefix(std::min(entry.size(), pair.size() + 1));
    const size_t equals = pair.find('=');
    const std::string_view key = pair.substr(0, equals);
    if (equals == std::string_view::npos || (key != "path" && key != "abstract")) continue;
    std::string value;
    for (size_t i = equals + 1; i < pair.size(); ++i) {
      unsigned char byte = static_cast<unsigned char>(pair[i]);
      if (byte == '%') {
        const char* hex = pair.data() + i + 1;
        if (i + 2 >= pair.size() || std::from_chars(hex, hex + 2, byte, 16).ptr != hex + 2) return std::nullopt;
        i += 2;
      }
      value += static_cast<char>(byte);
    }
    return SocketAt(value, key == "abstract");
  }
  return std::nullopt;
}

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Whether `fd` became ready for `events` before `deadline`.
bool ReadyBefore(int fd, short events, Clock::time_point deadline) {
  pollfd watched{fd, events, 0};
  int ready = 0;
  do ready = poll(&watched, 1, MsLeft(deadline));
  while (ready < 0 && errno == EINTR);
  return ready > 0;
}

uint32_t Uint32At(std::string_view bytes, size_t at, bool littleEndian) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof(value));
  return littleEndian == (std::endian::native == std::endian::little) ? value : __builtin_bswap32(value);
}

size_t AlignedTo(size_t at, size_t alignment) { return (at + alignment - 1) / alignment * alignment; }

// The bus's Hello, the call that every connection to a bus makes first, as the connection's call 1: a method call
// without arguments, in little-endian order, with the header fields PATH, INTERFACE, MEMBER and DESTINATION.
std::string HelloCall() {
  std::string call("l\1\0\1", 4);  // little-endian, a method call, no flags, version 1 of the protocol
  const auto uint32 = [&call](uint32_t value) {
    for (int i = 0; i < 4; ++i) call += static_cast<char>(value >> (8 * i));
  };
  uint32(0), uint32(1), uint32(0);  // the arguments' length, the call's serial, the fields' length (set below)
  // Each field is a struct, on a multiple of 8: its code, then a variant (a signature of one type, the value).
  const auto field = [&](char code, char type, std::string_view value) {
    call.resize(AlignedTo(call.size(), 8), '\0');
    call += {code, '\1', type, '\0'};
    uint32(static_cast<uint32_t>(value.size()));
    (call += value) += '\0';
  };
  constexpr std::string_view kBus = "org.freedesktop.DBus";
  field(1, 'o', "/org/freedesktop/DBus");
  field(2, 's', kBus);
  field(3, 's', "Hello");
  field(6, 's', kBus);
  const auto fields = static_cast<uint32_t>(call.size() - 16);
  for (int i = 0; i < 4; ++i) call[12 + i] = static_cast<char>(fields >> (8 * i));
  call.resize(AlignedTo(call.size(), 8), '\0');  // the header ends on a multiple of 8
  return call;
}

// The serial of the call that the whole message `message` replies to (its header field REPLY_SERIAL), 0 for none.
uint32_t ReplySerial(std::string_view message) {
  const bool little = message[0] == 'l';
  const size_t fieldsEnd = 16 + Uint32At(message, 12, little);
  for (size_t at = 16; AlignedTo(at, 8) + 3 <= fieldsEnd;) {
    at = AlignedTo(at, 8);
    const char code = message[at];
    const std::string_view type = message.substr(at + 2, static_cast<unsigned char>(message[at + 1]));
    at += 3 + type.size();
    if (type == "u" || type == "s" || type == "o") {
      at = AlignedTo(at, 4);
      if (at + 4 > fieldsEnd) return 0;
      const uint32_t value = Uint32At(message, at, little);
      if (code == 5 && type == "u") return value;
      at += 4 + (type == "u" ? 0 : size_t{value} + 1);
    } else if (type == "g" && at < fieldsEnd) {
      at += 2 + static_cast<unsigned char>(message[at]);
    } else {
      return 0;  // no header field has another type
    }
  }
  return 0;
}

// The probe's side of one connection to a bus, each step waiting at most until the deadline. A step that fails
// sets how the conversation ended: silent when the bus let the deadline pass; answered when it closed the
// connection or sent what the bus library does not take (the bus library then finds that out at once for itself).
class Conversation {
 public:
  Conversation(int fd, Clock::time_point deadline) : fd_(fd), deadline_(deadline) {}
  Reply end() const { return end_; }

  bool Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent > 0) {
        bytes.remove_prefix(static_cast<size_t>(sent));
      } else if (errno != EAGAIN && errno != EINTR) {
        return End(Reply::kAnswered);
      } else if (!ReadyBefore(fd_, POLLOUT, deadline_)) {
        return End(Reply::kSilent);
      }
    }
    return true;
  }

  // The next line of the handshake, without its "\r\n".
  bool Line(std::string& line) {
    size_t end = std::string::npos;
    if (!ReceiveUntil([&] { return (end = received_.find("\r\n")) != std::string::npos; })) return false;
    line = received_.substr(0, end);
    received_.erase(0, end + 2);
    return true;
  }

  // The next whole message: a fixed header of 16 bytes, the header fields (their length at 12), padding to a
  // multiple of 8 and the arguments (their length at 4).
  bool Message(std::string& message) {
    size_t size = 0;
    if (!ReceiveUntil([&] {
          if (received_.size() < 16) return false;
          if (received_[0] != 'l' && received_[0] != 'B') return true;
          const bool little = received_[0] == 'l';
          size = 16 + AlignedTo(Uint32At(received_, 12, little), 8) + Uint32At(received_, 4, little);
          return received_.size() >= size;
        }))
      return false;
    if (size == 0) return End(Reply::kAnswered);  // no message of the protocol
    message = received_.substr(0, size);
    received_.erase(0, size);
    return true;
  }

 private:
  bool End(Reply end) {
    end_ = end;
    return false;
  }
  // Receives until `enough()`. A bus that sends more than any line or message before the reply to Hello comes to
  // is no bus that the bus library talks to either.
  template <class Enough>
  bool ReceiveUntil(Enough enough) {
    constexpr size_t kLongest = 65536;
    while (!enough()) {
      if (received_.size() > kLongest) return End(Reply::kAnswered);
      if (!ReadyBefore(fd_, POLLIN, deadline_)) return End(Reply::kSilent);
      char bytes[4096];
      const ssize_t size = recv(fd_, bytes, sizeof(bytes), 0);
      if (size > 0) {
        received_.append(bytes, static_cast<size_t>(size));
      } else if (size == 0 || (errno != EAGAIN && errno != EINTR)) {
        return End(Reply::kAnswered);
      }
    }
    return true;
  }

  int fd_;
  Clock::time_point deadline_;
  std::string received_;
  Reply end_ = Reply::kAnswered;
};

// Connects to `socket` and goes as far as the bus library goes before Qt waits for the bus without a time limit:
// the handshake (to be known as this process's user; to pass open files, which the bus library asks on every Unix
// socket; the start of messages) and the bus's reply to its Hello. Nothing here blocks: each step waits at most until
// `deadline`. The connection is the probe's own: closing it gives up whatever the bus gave it.
Reply Ask(const UnixSocket& socket, Clock::time_point deadline) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return Reply::kNotAsked;
  const struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  if (connect(fd, reinterpret_cast<const sockaddr*>(&socket.address), socket.size) != 0) {
    // A listener whose queue of connections is full accepts none: a bus whose daemon stopped.
    if (errno == EAGAIN) return Reply::kSilent;
    if (errno != EINPROGRESS) return Reply::kNone;
    int error = 0;
    socklen_t size = sizeof(error);
    if (!ReadyBefore(fd, POLLOUT, deadline)) return Reply::kSilent;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return Reply::kNone;
  }
  Conversation bus(fd, deadline);
  std::string auth("\0AUTH EXTERNAL ", 15);
  for (const char digit : std::to_string(getuid())) auth.append({'3', digit});  // the id's digits in hex
  std::string line;
  if (!bus.Send(auth + "\r\n") || !bus.Line(line)) return bus.end();
  // A refusal: the bus library tries its other ways in or gives up.
  if (!line.starts_with("OK ")) return Reply::kAnswered;
  if (!bus.Send("NEGOTIATE_UNIX_FD\r\n") || !bus.Line(line)) return bus.end();
  if (line != "AGREE_UNIX_FD" && !line.starts_with("ERROR")) return Reply::kAnswered;
  if (!bus.Send("BEGIN\r\n" + HelloCall())) return bus.end();
  // The reply (a method's return or an error) to call 1; whatever the bus sends before it is passed over.
  constexpr char kMethodReturn = 2;
  constexpr char kError = 3;
  for (std::string message; bus.Message(message);)
    if ((message[1] == kMethodReturn || message[1] == kError) && ReplySerial(message) == 1) return Reply::kAnswered;
  return bus.end();
}

}  // namespace

bool SessionBusAnswers(int waitMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  const char* given = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (given == nullptr || *given == '\0') {
    // Without an address the bus library takes the user's bus in XDG_RUNTIME_DIR, when that is a socket of the
    // user's own.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') return true;
    const std::string path = std::string(runtime) + "/bus";
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode) || status.st_uid != getuid()) return true;
    const std::optional<UnixSocket> socket = SocketAt(path, false);
    return !socket || Ask(*socket, deadline) != Reply::kSilent;
  }
  // The bus library tries the entries in turn and takes the first that connects.
  std::string_view entries(given);
  while (!entries.empty()) {
    const std::string_view entry = entries.substr(0, entries.find(';'));
    entries.remove_prefix(std::min(entries.size(), entry.size() + 1));
    if (entry.empty()) continue;
    const std::optional<UnixSocket> socket = SocketOfEntry(entry);
    if (!socket) return true;
    if (const Reply reply = Ask(*socket, deadline); reply != Reply::kNone) return reply != Reply::kSilent;
  }
  return true;
}

QString LeaveOutSilentSessionBus() {
  if (SessionBusAnswers(kSessionBusAnswerMs)) return {};
  // An address of no kind the bus library knows: it refuses it at once, and starts no bus of its own as it would
  // without an address.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
  return U("Сеансовая шина D-Bus не ответила за %1 с: программа работает без нее, без специальных возможностей и "
           "глобального меню.")
      .arg(kSessionBusAnswerMs / 1000);
}

}  // namespace velaron::app
