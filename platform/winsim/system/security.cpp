#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {
namespace {

// The locally unique identifiers Windows gives its well-known privileges.
struct KnownPrivilege {
    const char* name;
    DWORD luid;
};
constexpr KnownPrivilege kKnownPrivileges[] = {
    {"SeCreateTokenPrivilege", 2},        {"SeAssignPrimaryTokenPrivilege", 3},
    {"SeLockMemoryPrivilege", 4},         {"SeIncreaseQuotaPrivilege", 5},
    {"SeMachineAccountPrivilege", 6},     {"SeTcbPrivilege", 7},
    {"SeSecurityPrivilege", 8},           {"SeTakeOwnershipPrivilege", 9},
    {"SeLoadDriverPrivilege", 10},        {"SeSystemProfilePrivilege", 11},
    {"SeSystemtimePrivilege", 12},        {"SeProfileSingleProcessPrivilege", 13},
    {"SeIncreaseBasePriorityPrivilege", 14}, {"SeCreatePagefilePrivilege", 15},
    {"SeCreatePermanentPrivilege", 16},   {"SeBackupPrivilege", 17},
    {"SeRestorePrivilege", 18},           {"SeShutdownPrivilege", 19},
    {"SeDebugPrivilege", 20},             {"SeAuditPrivilege", 21},
    {"SeSystemEnvironmentPrivilege", 22}, {"SeChangeNotifyPrivilege", 23},
    {"SeRemoteShutdownPrivilege", 24},    {"SeUndockPrivilege", 25},
};

bool SameNameIgnoringCase(const char* a, const std::string& b) {
    return std::equal(b.begin(), b.end(), a, a + std::char_traits<char>::length(a), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

const KnownPrivilege* FindPrivilege(const std::string& name) {
    for (const auto& privilege : kKnownPrivileges)
        if (SameNameIgnoringCase(privilege.name, name)) return &privilege;
    return nullptr;
}

// The process token: held privileges by LUID, each enabled or not.
struct TokenState {
    std::map<DWORD, bool> privileges = {{19, false}, {23, true}, {25, false}};
};
std::map<DWORD, bool>& Privileges() { return detail::AreaState<TokenState>().privileges; }

struct TokenObject : KernelObject {
    DWORD access;
    explicit TokenObject(DWORD access) : access(access) {}
};

DWORD KnownLuid(const std::string& name) {
    const KnownPrivilege* privilege = FindPrivilege(name);
    if (!privilege) throw std::invalid_argument("winsim: unknown privilege " + name);
    return privilege->luid;
}

// Common refusals of the three calls: an injected fault, or a system without security.
bool Refused(const char* function) {
    if (detail::FailsNow(function)) return true;
    if (!NtFamily()) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return true;
    }
    return false;
}

}  // namespace

void SetPrivilegeHeld(const std::string& name, bool held) {
    DWORD luid = KnownLuid(name);
    if (held)
        Privileges().try_emplace(luid, false);
    else
        Privileges().erase(luid);
}

bool PrivilegeEnabled(const std::string& name) {
    auto found = Privileges().find(KnownLuid(name));
    return found != Privileges().end() && found->second;
}

}  // namespace winsim

BOOL WINAPI OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token) {
    if (winsim::Refused("OpenProcessToken")) return FALSE;
    // Only the current process's token is modelled.
    if (process != GetCurrentProcess()) {
        SetLastError(winsim::FindHandle(process) ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *token = winsim::AddHandle(std::make_shared<winsim::TokenObject>(desiredAccess));
    return TRUE;
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, PLUID luid) {
    if (winsim::Refused("LookupPrivilegeValueA")) return FALSE;
    if (systemName && *systemName) {
        SetLastError(RPC_S_SERVER_UNAVAILABLE);
        return FALSE;
    }
    const winsim::KnownPrivilege* privilege = winsim::FindPrivilege(name);
    if (!privilege) {
        SetLastError(ERROR_NO_SUCH_PRIVILEGE);
        return FALSE;
    }
    *luid = {privilege->luid, 0};
    return TRUE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE token, BOOL disableAllPrivileges, PTOKEN_PRIVILEGES newState,
                                  DWORD bufferLength, PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
    if (winsim::Refused("AdjustTokenPrivileges")) return FALSE;
    auto object = winsim::FindHandleOf<winsim::TokenObject>(token);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD needed = TOKEN_ADJUST_PRIVILEGES | (previousState ? TOKEN_QUERY : 0);
    if ((object->access & needed) != needed) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!disableAllPrivileges && !newState) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (previousState && !returnLength) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }

    auto& privileges = winsim::Privileges();
    std::map<DWORD, bool> wanted;
    bool notAllAssigned = false;
    if (disableAllPrivileges) {
        for (const auto& [luid, enabled] : privileges) wanted[luid] = false;
    } else {
        // The record is declared with one element and allocated with PrivilegeCount of them.
        const LUID_AND_ATTRIBUTES* items = newState->Privileges;
        for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& item = items[i];
            if (item.Luid.HighPart != 0 || !privileges.contains(item.Luid.LowPart))
                notAllAssigned = true;
            else
                wanted[item.Luid.LowPart] = (item.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    std::vector<LUID_AND_ATTRIBUTES> changed;
    for (const auto& [luid, enable] : wanted)
        if (privileges[luid] != enable)
            changed.push_back({{luid, 0}, privileges[luid] ? static_cast<DWORD>(SE_PRIVILEGE_ENABLED) : 0});

    if (previousState) {
        DWORD required = static_cast<DWORD>(offsetof(TOKEN_PRIVILEGES, Privileges) +
                                            changed.size() * sizeof(LUID_AND_ATTRIBUTES));
        *returnLength = required;
        // Nothing changes when the previous state doesn't fit.
        if (bufferLength < required) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        previousState->PrivilegeCount = static_cast<DWORD>(changed.size());
        LUID_AND_ATTRIBUTES* items = previousState->Privileges;
        std::copy(changed.begin(), changed.end(), items);
    }
    for (const auto& [luid, enable] : wanted) privileges[luid] = enable;
    SetLastError(notAllAssigned ? ERROR_NOT_ALL_ASSIGNED : ERROR_SUCCESS);
    return TRUE;
}
