#pragma once
// Test control of the BCD store as Windows shows it in the registry (HKLM\BCD00000000), and a
// bcdedit.exe that changes it as Windows' own does. The Windows Boot Manager's object holds the
// display order (element 24000001, REG_MULTI_SZ), the default entry (23000003, REG_SZ) and the
// entries for the next start only (24000002, REG_MULTI_SZ); each entry's object holds its
// description (12000004, REG_SZ). Every element is the value "Element" of the key
// Objects\{object}\Elements\<element>.
#include <optional>
#include <string>
#include <vector>

#include "platform/winsim/system/registry_control.h"

namespace winsim {

inline const std::string kBcdStoreKey = "HKEY_LOCAL_MACHINE\\BCD00000000";
inline const std::string kBootManagerGuid = "{9dea862c-5cdd-4e70-acc1-f32b344d4795}";

// The key of an element of an object: "HKEY_LOCAL_MACHINE\BCD00000000\Objects\{...}\Elements\23000003".
std::string BcdElementKey(const std::string& objectGuid, const std::string& element);

struct BcdEntry {
    std::string guid;         // with braces
    std::string description;  // UTF-8; empty: the object has no description element
};
struct BcdStore {
    std::vector<BcdEntry> entries;          // each an object of the store
    std::vector<std::string> displayOrder;  // may be empty, or name GUIDs that are no object
    std::string defaultEntry;               // empty: no default element
};
// Replaces whatever store there was with the Boot Manager's object and one object per entry (its
// Elements key, empty without a description). Elements can then be changed or removed one by one
// through registry_control.h (a store without a display order: RemoveRegistryKey of its key).
void SetBcdStore(const BcdStore& store);
// The default entry and the entries for the next start only, as the store holds them now;
// nothing and none when the element is absent.
std::optional<std::string> BcdDefault();
std::vector<std::string> BcdBootSequence();

// How the bcdedit.exe behaviour answers "/default {guid}" and "/bootsequence {guid}".
enum class BcdeditMode {
    Succeeds,        // changes the element and exits with 0, as Windows' own does; it refuses
                     // what Windows' own refuses (a GUID that is no object of the store,
                     // arguments it does not take, a store the process may not open) with exit
                     // code 1 and no change
    Fails,           // exits with 1 and changes nothing
    Hangs,           // never ends and changes nothing
    ChangesNothing,  // exits with 0 and changes nothing
};
// Sets the program behaviour of "bcdedit.exe" (system_control.h).
void SetBcdedit(BcdeditMode mode);

}  // namespace winsim
