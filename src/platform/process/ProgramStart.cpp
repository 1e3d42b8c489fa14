#include "platform/process/ProgramStart.h"

#include "platform/process/ProgramEnvironment.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace platform {
namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// How the program is spawned: in a session of its own, with default signal
// handling and only the standard descriptors. Made before the fork, so the
// middle process only calls posix_spawn.
class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  // posix_spawn's result; glibc reports a failed exec there too.
  int Spawn(char* const argv[], char* const envp[]) const {
    pid_t child = 0;
    return posix_spawn(&child, argv[0], &actions_, &attributes_, argv, envp);
  }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

// The pointers to the texts, followed by a null pointer, as exec wants them.
std::vector<char*> NullTerminated(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

bool StartProgram(const std::string& name, const std::vector<std::string>& arguments) {
  const std::string file = FindProgramFile(name);
  if (file.empty()) return false;
  ProgramCommand command = CommandForFile(file);
  if (command.arguments.empty()) return false;
  command.arguments.insert(command.arguments.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment = ProgramEnvironment(OwnEnvironment(), command.throughWine);
  const std::vector<char*> argv = NullTerminated(command.arguments);
  const std::vector<char*> envp = NullTerminated(environment);

  const SpawnSettings settings;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  Descriptor readEnd(ends[0]);
  Descriptor writeEnd(ends[1]);

  // A middle process starts the program and leaves at once, so the program
  // is handed to the system's reaper: the launcher never waits for it and no
  // zombie is left behind when it ends before the launcher does.
  const pid_t middle = fork();
  if (middle < 0) return false;
  if (middle == 0) {
    const int result = settings.Spawn(argv.data(), envp.data());
    const ssize_t written = write(writeEnd.Get(), &result, sizeof result);
    _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
  }
  writeEnd.Reset();
  int result = -1;
  ssize_t got;
  do {
    got = read(readEnd.Get(), &result, sizeof result);
  } while (got < 0 && errno == EINTR);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof result) && result == 0;
}

}  // namespace platform
