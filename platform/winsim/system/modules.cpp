#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/names.h"
#include "platform/winsim/system/paths_state.h"
#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui.h"

namespace winsim {
namespace {

template <class Function>
FARPROC EntryPoint(Function* function) {
    // Through void(*)() the compiler accepts any function type without a cast warning.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

struct Export {
    const char* name;
    FARPROC address;
};

struct Module {
    const char* name;  // lower case
    ULONG_PTR base;
    std::vector<Export> exports;
};

// Load addresses as on Windows XP; the executable's module is the image base of a linked exe.
const std::vector<Module>& LoadedModules() {
    static const std::vector<Module> modules = {
        {"", 0x00400000, {}},
        {"ntdll.dll", 0x7C900000, {}},
        {"kernel32.dll",
         0x7C800000,
         {{"CreateToolhelp32Snapshot", EntryPoint(&CreateToolhelp32Snapshot)},
          {"Process32First", EntryPoint(&Process32First)},
          {"Process32Next", EntryPoint(&Process32Next)},
          {"GetVersionExA", EntryPoint(&GetVersionExA)},
          {"GetModuleHandleA", EntryPoint(&GetModuleHandleA)},
          {"GetProcAddress", EntryPoint(&GetProcAddress)},
          {"OpenProcess", EntryPoint(&OpenProcess)},
          {"TerminateProcess", EntryPoint(&TerminateProcess)},
          {"CreateProcessA", EntryPoint(&CreateProcessA)},
          {"WaitForSingleObject", EntryPoint(&WaitForSingleObject)},
          {"GetExitCodeProcess", EntryPoint(&GetExitCodeProcess)},
          {"IsWow64Process", EntryPoint(&IsWow64Process)},
          {"WinExec", EntryPoint(&WinExec)}}},
        {"advapi32.dll",
         0x77DD0000,
         {{"OpenProcessToken", EntryPoint(&OpenProcessToken)},
          {"LookupPrivilegeValueA", EntryPoint(&LookupPrivilegeValueA)},
          {"AdjustTokenPrivileges", EntryPoint(&AdjustTokenPrivileges)},
          {"RegOpenKeyExA", EntryPoint(&RegOpenKeyExA)},
          // On the 9x family the entry point is there, as a stub.
          {"RegQueryValueExW", EntryPoint(&RegQueryValueExW)},
          {"RegCloseKey", EntryPoint(&RegCloseKey)}}},
        {"user32.dll",
         0x7E410000,
         {{"ExitWindowsEx", EntryPoint(&ExitWindowsEx)},
          {"MessageBoxA", EntryPoint(&MessageBoxA)},
          {"MessageBoxW", EntryPoint(&MessageBoxW)},
          // On the 9x family the entry points are there, as stubs.
          {"InsertMenuItemW", EntryPoint(&InsertMenuItemW)},
          {"GetMenuItemInfoW", EntryPoint(&GetMenuItemInfoW)},
          {"SetMenuItemInfoW", EntryPoint(&SetMenuItemInfoW)}}},
    };
    return modules;
}

struct ModulesState {
    std::set<std::string> missingModules;
    std::set<std::string> missingProcs;  // "module!proc", module in lower case
};
ModulesState& State() { return detail::AreaState<ModulesState>(); }

using detail::Lower;

std::string ExeName() { return Lower(detail::FileNameOf(detail::Paths().moduleFileName)); }

const Module* FindLoaded(const std::string& lowerName) {
    if (State().missingModules.contains(lowerName)) return nullptr;
    for (const auto& module : LoadedModules()) {
        std::string name = module.base == 0x00400000 ? ExeName() : module.name;
        if (name == lowerName) return &module;
    }
    return nullptr;
}

const Module* FindByHandle(HMODULE handle) {
    if (!handle) return &LoadedModules().front();
    for (const auto& module : LoadedModules())
        if (reinterpret_cast<HMODULE>(module.base) == handle)
            return State().missingModules.contains(module.name) ? nullptr : &module;
    return nullptr;
}

}  // namespace

void SetModuleMissing(const std::string& moduleName) { State().missingModules.insert(Lower(moduleName)); }

void SetProcMissing(const std::string& moduleName, const std::string& procName) {
    State().missingProcs.insert(Lower(moduleName) + "!" + procName);
}

}  // namespace winsim

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (winsim::detail::FailsNow("GetModuleHandleA")) return nullptr;
    if (!moduleName) return reinterpret_cast<HMODULE>(winsim::LoadedModules().front().base);
    std::string name = winsim::Lower(moduleName);
    name = name.substr(name.find_last_of("\\/") + 1);
    if (name.find('.') == std::string::npos) name += ".dll";
    const winsim::Module* module = winsim::FindLoaded(name);
    if (!module) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(module->base);
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName) {
    if (winsim::detail::FailsNow("GetProcAddress")) return nullptr;
    const winsim::Module* module = winsim::FindByHandle(handle);
    if (!module) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // Ordinals are not modelled: no export is found by number.
    if (IS_INTRESOURCE(procName) ||
        winsim::State().missingProcs.contains(std::string(module->name) + "!" + procName)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    // Export names are case-sensitive.
    for (const auto& entry : module->exports)
        if (std::strcmp(entry.name, procName) == 0) return entry.address;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE handle, LPSTR fileName, DWORD size) {
    if (winsim::detail::FailsNow("GetModuleFileNameA")) return 0;
    const winsim::Module* module = winsim::FindByHandle(handle);
    if (!module) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    const auto& paths = winsim::detail::Paths();
    std::string path = module == &winsim::LoadedModules().front()
                           ? paths.moduleFileName
                           : paths.systemDirectory + "\\" + module->name;
    // As XP does (and Wine): a path that doesn't fit fills the whole buffer, with no room left
    // for the terminator. Vista and later terminate it inside the buffer instead.
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size);
        if (size > 0 && winsim::detail::NtVersionAtLeast(6, 0)) fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}
