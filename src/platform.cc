#include "platform.h"

#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>

namespace counterpal::platform {

std::FILE* createNewFile(const std::string& path) {
  const int fd =
      _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<std::uint64_t> regularFileSize(std::FILE* file) {
  struct _stat64 status;
  if (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

// Writing to a closed console fails quietly on Windows; nothing to arrange.
void ignoreClosedConsole() {}

namespace {

// Ctrl-C reaches every program on the console: it ends the interpreter's pause, and must not end
// the tool with it, so that the run still ends with its own exit code.
BOOL WINAPI outlastInterrupt(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

}  // namespace

// The command interpreter's own "pause" prints its prompt and waits for a key.
void pause(std::ostream& /*console*/) {
  SetConsoleCtrlHandler(outlastInterrupt, TRUE);
  (void)std::system("pause");
  SetConsoleCtrlHandler(outlastInterrupt, FALSE);
}

}  // namespace counterpal::platform

#else  // POSIX

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace counterpal::platform {

std::FILE* createNewFile(const std::string& path) {
  const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<std::uint64_t> regularFileSize(std::FILE* file) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

// Without this, SIGPIPE would end the tool at the first line written to a closed pipe; ignored,
// the write fails instead, and the console stream quietly drops the rest. A standard stream
// started closed is pointed at /dev/null, so that no file the tool opens can take its number and
// receive console lines.
void ignoreClosedConsole() {
  (void)std::signal(SIGPIPE, SIG_IGN);
  for (const int standardStream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(standardStream, F_GETFD) == -1 && errno == EBADF) {
      const int nullDevice = open("/dev/null", O_RDWR);
      if (nullDevice >= 0 && nullDevice != standardStream) close(nullDevice);
    }
  }
}

// POSIX shells have no "pause" command, so this stands in for it: a prompt and one key, read
// without echo. Ctrl-C is read as a key too, so the wait always ends in the tool's own hands.
// Without a terminal to press a key on, there is nothing to wait for.
void pause(std::ostream& console) {
  termios saved{};
  if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &saved) != 0) return;
  console << "Press any key to continue . . ." << std::flush;

  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  char key = 0;
  while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
  }
  tcflush(STDIN_FILENO, TCIFLUSH);  // the rest of a multi-byte key must not reach the shell
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  console << std::endl;
}

}  // namespace counterpal::platform

#endif
