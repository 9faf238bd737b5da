// Stands in for Windows' bcdedit.exe in the end-to-end tests. It appends its arguments, as one
// line, to c:\bcdedit-standin.log, then does to the registry view of the system store what
// bcdedit does for the two commands the chooser gives:
//   /default {guid}       the Windows Boot Manager's element 23000003 (REG_SZ) becomes the GUID
//   /bootsequence {guid}  its element 24000002 (REG_MULTI_SZ) becomes a list of that GUID alone
// bcdedit writes an identifier in small letters whatever case it was given. A GUID that names no
// object of the store, or any other arguments, end with exit code 1 and nothing changed.
// c:\bcdedit-standin.mode makes it misbehave: "fail" exits with 1, "nochange" with 0, and neither
// changes anything.
#include <windows.h>

namespace {

constexpr wchar_t kObjects[] = L"BCD00000000\\Objects\\";
constexpr wchar_t kBootManager[] = L"{9dea862c-5cdd-4e70-acc1-f32b344d4795}";
constexpr int kGuidLength = 38;  // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}
constexpr int kPathLength = 128;

void AppendToLog(int argc, wchar_t** argv) {
  wchar_t line[1024] = {};
  for (int i = 1; i < argc && lstrlenW(line) + 1 + lstrlenW(argv[i]) + 2 < 1024; ++i) {
    if (i > 1) lstrcatW(line, L" ");
    lstrcatW(line, argv[i]);
  }
  lstrcatW(line, L"\r\n");
  char utf8[4096];
  int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8, nullptr, nullptr) - 1;
  HANDLE log = CreateFileW(L"c:\\bcdedit-standin.log", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (log != INVALID_HANDLE_VALUE && bytes > 0) WriteFile(log, utf8, bytes, &written, nullptr);
  CloseHandle(log);
}

// The first word of c:\bcdedit-standin.mode, or nothing.
bool ModeIs(const char* wanted) {
  char mode[16] = {};
  DWORD read = 0;
  HANDLE file = CreateFileA("c:\\bcdedit-standin.mode", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    ReadFile(file, mode, sizeof mode - 1, &read, nullptr);
    CloseHandle(file);
  }
  for (char* c = mode; *c; ++c) {
    if (*c == '\r' || *c == '\n' || *c == ' ') *c = '\0';
  }
  return lstrcmpA(mode, wanted) == 0;
}

bool IsObject(const wchar_t* guid) {
  if (lstrlenW(guid) != kGuidLength || guid[0] != L'{' || guid[kGuidLength - 1] != L'}') return false;
  wchar_t path[kPathLength];
  lstrcpyW(path, kObjects);
  lstrcatW(path, guid);
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool SetElement(const wchar_t* element, DWORD type, const wchar_t* guid) {
  wchar_t path[kPathLength];
  lstrcpyW(path, kObjects);
  lstrcatW(path, kBootManager);
  lstrcatW(path, L"\\Elements\\");
  lstrcatW(path, element);
  // The GUID, its terminator and, for a list, the empty string that ends the list.
  wchar_t data[kGuidLength + 2] = {};
  for (int i = 0; i < kGuidLength; ++i) {
    data[i] = guid[i] >= L'A' && guid[i] <= L'Z' ? guid[i] - L'A' + L'a' : guid[i];
  }
  DWORD bytes = (kGuidLength + (type == REG_MULTI_SZ ? 2 : 1)) * sizeof(wchar_t);
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  bool set = RegSetValueExW(key, L"Element", 0, type, reinterpret_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  AppendToLog(argc, argv);
  if (argc != 3 || !IsObject(argv[2])) return 1;
  bool one_time = lstrcmpiW(argv[1], L"/bootsequence") == 0;
  if (!one_time && lstrcmpiW(argv[1], L"/default") != 0) return 1;
  if (ModeIs("fail")) return 1;
  if (ModeIs("nochange")) return 0;
  return SetElement(one_time ? L"24000002" : L"23000003", one_time ? REG_MULTI_SZ : REG_SZ, argv[2]) ? 0 : 1;
}
