#pragma once
// The bytes of a file that a test brings along.

#include <filesystem>
#include <string>

namespace reVoziz::testing {

// Throws std::runtime_error when the file cannot be read.
std::string fileBytes(const std::filesystem::path& file);

}  // namespace reVoziz::testing
