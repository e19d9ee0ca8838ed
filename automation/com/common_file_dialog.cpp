// The file dialog on the common dialogs: "Label|*.ext|..." filters, and a
// cancel that raises the dialog component's cancel error.

#include <string>
#include <vector>

#include <windows.h>
#include <commdlg.h>

#include "automation/com/com_text.h"
#include "automation/com/windows_platform.h"
#include "core/error.h"

namespace reVoziz::com {
namespace {

class CommonFileDialog : public FileDialog {
  std::string pick(Purpose purpose) override {
    std::wstring filter = wide(this->filter());
    for (wchar_t& c : filter) {
      if (c == L'|') c = L'\0';
    }
    filter.append(2, L'\0');
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring current = wide(fileName());
    current.copy(file.data(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = this->filter().empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL picked = purpose == Purpose::Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!picked) {
      if (CommDlgExtendedError() == 0) throw Error(ErrorCode::DialogCancelled, "Cancel was selected.");
      throw Error(ErrorCode::HostError, "The file dialog failed");
    }
    return utf8(std::wstring_view(file.data()));
  }
};

}  // namespace

std::unique_ptr<FileDialog> WindowsPlatform::createFileDialog() {
  return std::make_unique<CommonFileDialog>();
}

}  // namespace reVoziz::com
