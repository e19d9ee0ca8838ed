#include "core/started_flag.h"

namespace reVoziz {
namespace {
thread_local bool StartedFlag = false;
}  // namespace

bool startedFlag() { return StartedFlag; }
void setStartedFlag() { StartedFlag = true; }

}  // namespace reVoziz
