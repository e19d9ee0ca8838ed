#pragma once
// A counter that every change able to move the layout advances, so that layout
// results remembered on nodes are used only while nothing has changed since.

#include <cstdint>

namespace reVoziz::pagemodel {

std::uint64_t layoutGeneration();
void invalidateLayout();

}  // namespace reVoziz::pagemodel
