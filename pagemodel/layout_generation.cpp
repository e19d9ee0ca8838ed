#include "pagemodel/layout_generation.h"

#include <atomic>

namespace reVoziz::pagemodel {
namespace {
// Starts at 1 so that a node's untouched memo (generation 0) is never current.
std::atomic<std::uint64_t> generation{1};
}  // namespace

std::uint64_t layoutGeneration() { return generation.load(std::memory_order_relaxed); }
void invalidateLayout() { generation.fetch_add(1, std::memory_order_relaxed); }

}  // namespace reVoziz::pagemodel
