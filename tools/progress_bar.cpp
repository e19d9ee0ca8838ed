#include "tools/progress_bar.h"

#include <algorithm>
#include <memory>

namespace reVoziz::tools {

std::function<void(double)> progressBar(std::ostream& err, std::string label, bool terminal) {
  if (!terminal) return [](double) {};
  constexpr int kWidth = 30;
  auto shown = std::make_shared<int>(-1);  // the percentage on screen
  return [&err, label = std::move(label), shown](double done) {
    const int percent = static_cast<int>(std::clamp(done, 0.0, 1.0) * 100);
    if (percent == *shown) return;
    *shown = percent;
    const int filled = percent * kWidth / 100;
    err << '\r' << label << " [" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
        << (percent < 10 ? "  " : percent < 100 ? " " : "") << percent << '%';
    if (percent == 100) err << '\n';
    err.flush();
  };
}

}  // namespace reVoziz::tools
