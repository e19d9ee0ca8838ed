#pragma once
// `revoziz play`: runs a lesson on simulated time and prints each marking
// that the control's tick makes, so a lesson author can check the markup.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace reVoziz::tools {

struct ScheduledClick {
  double seconds;
  std::string frame;
  std::string id;
};

struct PlayOptions {
  std::filesystem::path lesson;
  std::optional<double> until;  // default: 5 s past the last segment start
  double rate = 1.0;
  std::vector<ScheduledClick> clicks;
};

// Throws std::invalid_argument with a message for the user on bad arguments.
PlayOptions parsePlayArguments(std::span<const std::string> args,
                               const std::filesystem::path& defaultLesson);

// Returns the exit status: 0 once the lesson loaded, 2 when it could not.
int runPlay(const PlayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace reVoziz::tools
