#include "automation/com/win32_file_system.h"

#include <windows.h>
#include <objbase.h>

#include <vector>

#include "automation/com/com_text.h"
#include "automation/com/windows_platform.h"
#include "core/error.h"

namespace reVoziz::com {
namespace {

// The failure of a system call on `path`, with the code a script caller knows.
Error fileError(DWORD error, std::string_view path) {
  const std::string where = ": " + std::string(path);
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return Error(ErrorCode::FileNotFound, "File not found" + where);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return Error(ErrorCode::PathNotFound, "Path not found" + where);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return Error(ErrorCode::PermissionDenied, "Permission denied" + where);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return Error(ErrorCode::FileAlreadyExists, "File already exists" + where);
    default: {
      wchar_t* text = nullptr;
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
      std::string message = text ? utf8(std::wstring_view(text)) : "System error " + std::to_string(error);
      LocalFree(text);
      while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
      return Error(ErrorCode::HostError, message + where);
    }
  }
}

class Handle {
 public:
  Handle(HANDLE handle, std::string_view path) : handle_(handle), path_(path) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  void close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) throw failure();
  }
  Error failure() const { return fileError(GetLastError(), path_); }

 private:
  HANDLE handle_;
  std::string path_;
};

class Win32ReadableFile : public ReadableFile {
 public:
  Win32ReadableFile(HANDLE handle, std::string_view path) : file_(handle, path) {}
  std::string readAll() override {
    std::string bytes;
    std::vector<char> buffer(1 << 16);
    for (;;) {
      DWORD n = 0;
      if (!ReadFile(file_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) {
        throw file_.failure();
      }
      if (n == 0) return bytes;
      bytes.append(buffer.data(), n);
    }
  }

 private:
  Handle file_;
};

class Win32WritableFile : public WritableFile {
 public:
  Win32WritableFile(HANDLE handle, std::string_view path) : file_(handle, path) {}
  void append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) throw file_.failure();
      bytes.remove_prefix(written);
    }
  }
  void flush() override {
    if (!FlushFileBuffers(file_.get())) throw file_.failure();
  }
  void close() override { file_.close(); }

 private:
  Handle file_;
};

// A security descriptor whose only entry gives the current user full access,
// so a new file is its owner's alone. Empty when the token cannot be read;
// the file then takes the folder's inherited access.
class OwnerOnly {
 public:
  OwnerOnly() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user_.resize(size);
    const bool gotUser = size && GetTokenInformation(token, TokenUser, user_.data(), size, &size);
    CloseHandle(token);
    if (!gotUser) return;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
    auto* acl = reinterpret_cast<ACL*>(acl_.data());
    if (!InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
      return;
    }
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    ready_ = true;
  }
  SECURITY_ATTRIBUTES* attributes() { return ready_ ? &attributes_ : nullptr; }

 private:
  std::vector<BYTE> user_;
  std::vector<BYTE> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ready_ = false;
};

}  // namespace

FileSystem& WindowsPlatform::fileSystem() {
  static Win32FileSystem files;
  return files;
}

std::unique_ptr<ReadableFile> Win32FileSystem::openForReading(std::string_view path) {
  const HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw fileError(GetLastError(), path);
  return std::make_unique<Win32ReadableFile>(h, path);
}

std::unique_ptr<WritableFile> Win32FileSystem::createExclusive(std::string_view path) {
  OwnerOnly security;
  // CREATE_NEW fails on anything standing under the name, links included.
  const HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, security.attributes(), CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw fileError(GetLastError(), path);
  return std::make_unique<Win32WritableFile>(h, path);
}

void Win32FileSystem::rename(std::string_view from, std::string_view to) {
  if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw fileError(GetLastError(), to);
  }
}

void Win32FileSystem::remove(std::string_view path) {
  if (!DeleteFileW(wide(path).c_str())) throw fileError(GetLastError(), path);
}

std::string Win32FileSystem::temporaryFolder() {
  wchar_t folder[MAX_PATH + 2];
  const DWORD n = GetTempPathW(MAX_PATH + 2, folder);
  if (n == 0 || n > MAX_PATH + 1) throw fileError(GetLastError(), "temporary folder");
  std::wstring text(folder, n);
  while (text.size() > 2 && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
  return utf8(text);
}

std::string Win32FileSystem::freshTemporaryName() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) throw Error(ErrorCode::HostError, "No temporary name");
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  std::string name = utf8(std::wstring_view(text));
  return "tq" + name.substr(1, name.size() - 2) + ".tmp";
}

}  // namespace reVoziz::com
