#include "automation/com/win32_file_system.h"

#include <windows.h>
#include <objbase.h>
#include <aclapi.h>

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

Error notOurs(std::string_view path) {
  return Error(ErrorCode::PermissionDenied,
               "The file is no longer this program's own (a link, another owner, or open to others): " +
                   std::string(path));
}

// The current user's SID, as the process token holds it; empty when unreadable.
std::vector<BYTE> currentUser() {
  std::vector<BYTE> user;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return user;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  user.resize(size);
  if (!size || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) user.clear();
  CloseHandle(token);
  return user;
}

PSID sidOf(std::vector<BYTE>& user) { return reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid; }

// Whether the open file is owned by the current user and no entry of its
// access list lets anyone else in.
bool ownedByUserAlone(HANDLE file) {
  std::vector<BYTE> user = currentUser();
  if (user.empty()) return false;
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                      nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool alone = owner && EqualSid(owner, sidOf(user)) && dacl;  // no list at all lets everyone in
  for (DWORD i = 0; alone && i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) {
      alone = false;
      break;
    }
    const auto* header = static_cast<ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    // The system and the administrators may read any file anyway.
    PSID allowed = const_cast<DWORD*>(&static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart);
    alone = EqualSid(allowed, sidOf(user)) || IsWellKnownSid(allowed, WinLocalSystemSid) ||
            IsWellKnownSid(allowed, WinBuiltinAdministratorsSid);
  }
  LocalFree(descriptor);
  return alone;
}

// A security descriptor whose only entry gives the current user full access,
// so a new file is its owner's alone. Empty when the token cannot be read;
// the file then takes the folder's inherited access.
class OwnerOnly {
 public:
  OwnerOnly() : user_(currentUser()) {
    if (user_.empty()) return;
    PSID sid = sidOf(user_);
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

std::unique_ptr<ReadableFile> Win32FileSystem::openPrivateForReading(std::string_view path) {
  // The link itself is opened, never what it points to.
  const HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw fileError(GetLastError(), path);
  auto file = std::make_unique<Win32ReadableFile>(h, path);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) throw fileError(GetLastError(), path);
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) || !ownedByUserAlone(h)) {
    throw notOurs(path);
  }
  return file;
}

std::unique_ptr<WritableFile> Win32FileSystem::createExclusive(std::string_view path) {
  OwnerOnly security;
  // CREATE_NEW fails on anything standing under the name, links included.
  const HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, security.attributes(), CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw fileError(GetLastError(), path);
  return std::make_unique<Win32WritableFile>(h, path);
}

FileStanding Win32FileSystem::standing(std::string_view path) {
  const std::wstring name = wide(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return {};
    throw fileError(error, path);
  }
  FileStanding standing;
  standing.exists = true;
  standing.regular = !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  standing.readOnly = attributes & FILE_ATTRIBUTE_READONLY;
  // Opening for writing asks the system's own access check, lists included;
  // nothing is written.
  const HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
  } else {
    standing.writable = GetLastError() != ERROR_ACCESS_DENIED;
  }
  return standing;
}

void Win32FileSystem::rename(std::string_view from, std::string_view to) {
  const std::wstring fresh = wide(from);
  const std::wstring target = wide(to);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (ReplaceFileW(target.c_str(), fresh.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      // Some implementations (Wine's) carry the security but not the attributes.
      SetFileAttributesW(target.c_str(), attributes);
      return;
    }
    const DWORD error = GetLastError();
    // The old file went but the new one was not moved in: move it now.
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT) throw fileError(error, to);
  }
  if (!MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw fileError(GetLastError(), to);
  }
  // A new file takes what its folder gives, not the fresh file's owner-only list.
  ACL empty{};
  if (InitializeAcl(&empty, sizeof empty, ACL_REVISION)) {
    SetNamedSecurityInfoW(const_cast<wchar_t*>(target.c_str()), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                          &empty, nullptr);
  }
}

std::string Win32FileSystem::linkTarget(std::string_view path) {
  const std::wstring name = wide(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return std::string(path);
  }
  const HANDLE h = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw fileError(GetLastError(), path);
  Handle link(h, path);
  std::wstring target(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(h, target.data(), static_cast<DWORD>(target.size()), 0);
    if (n == 0) throw link.failure();
    if (n < target.size()) {
      target.resize(n);
      break;
    }
    target.resize(n + 1);
  }
  // "\\?\C:\..." for a drive path; "\\?\UNC\server\..." for a share.
  if (target.starts_with(L"\\\\?\\UNC\\")) return "\\\\" + utf8(std::wstring_view(target).substr(8));
  if (target.starts_with(L"\\\\?\\")) return utf8(std::wstring_view(target).substr(4));
  return utf8(target);
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
