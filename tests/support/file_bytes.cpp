#include "support/file_bytes.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace reVoziz::testing {

std::string fileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace reVoziz::testing
