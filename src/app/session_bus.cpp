#include "app/session_bus.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstddef>
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

// What a bus said to the first line of the handshake.
enum class Reply {
  kAnswered,
  kSilent,    // took the connection (or left it waiting) and said nothing
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

// Connects to `socket` and sends what every client of a bus sends first, a zero byte and the request to be known
// as this process's user, which a bus answers at once, accepting or rejecting it. Nothing here blocks: each step
// waits at most until `deadline`.
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
  std::string hello("\0AUTH EXTERNAL ", 15);
  for (const char digit : std::to_string(getuid())) hello.append({'3', digit});  // the id's digits in hex
  hello += "\r\n";
  if (send(fd, hello.data(), hello.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(hello.size())) return Reply::kNone;
  if (!ReadyBefore(fd, POLLIN, deadline)) return Reply::kSilent;
  char answer[64];
  return recv(fd, answer, sizeof(answer), 0) > 0 ? Reply::kAnswered : Reply::kNone;
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
