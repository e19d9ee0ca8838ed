// The file dialog on the common dialogs: "Label|*.ext|..." filters, and a
// cancel that raises the dialog component's cancel error.

#include <string>
#include <vector>

#include <windows.h>
#include <commdlg.h>

#include "automation/com/com_text.h"
#include "automation/com/windows_platform.h"
#include "control/error.h"

namespace reVoziz::com {
namespace {

class CommonFileDialog : public FileDialog {
 public:
  std::string fileName() const override { return fileName_; }
  void setFileName(std::string_view name) override { fileName_ = name; }
  std::string filter() const override { return filter_; }
  void setFilter(std::string_view filter) override { filter_ = filter; }
  void showOpen() override { show(false); }
  void showSave() override { show(true); }

 private:
  void show(bool save) {
    std::wstring filter = wide(filter_);
    for (wchar_t& c : filter) {
      if (c == L'|') c = L'\0';
    }
    filter.append(2, L'\0');
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring current = wide(fileName_);
    current.copy(file.data(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL picked = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!picked) {
      if (CommDlgExtendedError() == 0) throw Error(ErrorCode::DialogCancelled, "Cancel was selected.");
      throw Error(ErrorCode::HostError, "The file dialog failed");
    }
    fileName_ = utf8(std::wstring_view(file.data()));
  }

  std::string fileName_;
  std::string filter_;
};

}  // namespace

std::unique_ptr<FileDialog> WindowsPlatform::createFileDialog() {
  return std::make_unique<CommonFileDialog>();
}

}  // namespace reVoziz::com
