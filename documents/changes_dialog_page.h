#pragma once
// The save-changes dialog's page: the notes page's body names the folder it
// lives in (tq_file), and the control opens this page there.

#include <string_view>

namespace reVoziz {

inline constexpr std::string_view kChangesDialogPage = "checkchanges.html";

}  // namespace reVoziz
