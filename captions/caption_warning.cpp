#include "captions/caption_warning.h"

namespace reVoziz::captions {

std::string describeWarning(std::string_view file, const CaptionWarning& warning) {
  return std::string(file) + ':' + std::to_string(warning.line) + ": warning: " + warning.message;
}

}  // namespace reVoziz::captions
