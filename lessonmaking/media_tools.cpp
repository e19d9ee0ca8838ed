#include "lessonmaking/media_tools.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/error.h"

extern char** environ;

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  bool found = true;  // false: no such program on the PATH
  int status = 0;     // the exit status; -1 when it ended by a signal
};

// Runs `args` (the program first, found on the PATH) with no shell, handing
// each line it writes to its standard output to `onLine`. Its standard error
// is dropped: the caller says what failed.
ProgramRun runProgram(const std::vector<std::string>& args, const std::function<void(std::string_view)>& onLine) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw Error(ErrorCode::HostError, "cannot run " + args[0] + ": no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    if (spawned == ENOENT) return {false, 0};
    throw Error(ErrorCode::HostError, "cannot run " + args[0] + ": error " + std::to_string(spawned));
  }
  std::string pending;
  char buffer[4096];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
      onLine(std::string_view(pending).substr(0, end));
    }
  }
  if (!pending.empty()) onLine(pending);
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return {true, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

}  // namespace

std::optional<VideoFacts> probeWithFfprobe(const fs::path& video) {
  std::string flat;
  const ProgramRun run = runProgram({"ffprobe", "-v", "error", "-show_entries",
                                     "stream=codec_type,codec_name:format=format_name,duration", "-of", "flat",
                                     video.string()},
                                    [&](std::string_view line) {
                                      flat += line;
                                      flat += '\n';
                                    });
  if (!run.found) return std::nullopt;
  // What ffprobe cannot read gives no container, and the warnings say so.
  return run.status == 0 ? videoFactsFromProbe(flat) : VideoFacts{};
}

void transcodeWithFfmpeg(const fs::path& from, const fs::path& to, const std::function<void(double)>& progress) {
  const std::optional<VideoFacts> facts = probeWithFfprobe(from);
  const double seconds = facts && facts->seconds ? *facts->seconds : 0;
  const fs::path partial = to.string() + ".part";
  const ProgramRun run = runProgram(
      {"ffmpeg", "-nostdin", "-y", "-v", "error", "-i", from.string(), "-map", "0:v:0?", "-map", "0:a:0?", "-c:v",
       "libvpx-vp9", "-crf", "33", "-b:v", "0", "-row-mt", "1", "-c:a", "libopus", "-b:a", "96k", "-progress",
       "pipe:1", "-nostats", "-f", "webm", partial.string()},
      [&](std::string_view line) {
        // "out_time_us=12345678" as ffmpeg goes, "progress=end" at the end.
        if (line.starts_with("out_time_us=") && seconds > 0) {
          const double done = std::strtod(std::string(line.substr(12)).c_str(), nullptr) / 1e6;
          if (done >= 0) progress(std::min(done / seconds, 1.0));
        }
      });
  std::error_code ignored;
  if (!run.found) throw Error(ErrorCode::FileNotFound, from.string() + ": cannot transcode: ffmpeg is not installed");
  if (run.status != 0) {
    fs::remove(partial, ignored);
    throw Error(ErrorCode::HostError, from.string() + ": cannot transcode: ffmpeg failed (status " +
                                          std::to_string(run.status) + ")");
  }
  std::error_code renamed;
  fs::rename(partial, to, renamed);
  if (renamed) {
    fs::remove(partial, ignored);
    throw Error(ErrorCode::HostError, to.string() + ": cannot write: " + renamed.message());
  }
  progress(1.0);
}

}  // namespace reVoziz::lessonmaking
