// The BCD store's registry view and a bcdedit.exe that changes it.
#include <cctype>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/bcd_control.h"
#include "platform/winsim/system/names.h"
#include "platform/winsim/system/registry_tree.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {
namespace {

const std::string kDescription = "12000004", kDefault = "23000003", kDisplayOrder = "24000001",
                  kBootSequence = "24000002", kElement = "Element";

// The words after the program, split as the C runtime splits a command line: at spaces and tabs
// outside double quotes.
std::vector<std::string> Arguments(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    if (!words.empty()) words.erase(words.begin());
    return words;
}

// {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}, hex digits in any case.
bool IsGuid(const std::string& text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

// The object a GUID names, spelled as the store spells it, or nothing when the store has no such
// object or the process may not open it.
std::optional<std::string> ObjectNamed(const std::string& guid) {
    if (!IsGuid(guid)) return std::nullopt;
    const detail::KeyPointer store = detail::KeyAtPath(kBcdStoreKey);
    if (!store || store->denied) return std::nullopt;
    const detail::KeyPointer object = detail::SubKey(store, u"Objects\\" + FromCodePage(CP_UTF8, guid));
    if (!object || object->denied) return std::nullopt;
    return Utf8(object->name);
}

ProgramOutcome Bcdedit(BcdeditMode mode, const std::string& commandLine) {
    if (mode == BcdeditMode::Fails) return ExitsWith(1);
    if (mode == BcdeditMode::Hangs) return Hangs();
    if (mode == BcdeditMode::ChangesNothing) return ExitsWith(0);
    const std::vector<std::string> words = Arguments(commandLine);
    if (words.size() < 2 || !ObjectNamed(kBootManagerGuid)) return ExitsWith(1);
    // Its options are taken in any case.
    const std::string option = detail::Lower(words[0]);
    const bool toDefault = option == "/default";
    if (!(toDefault && words.size() == 2) && option != "/bootsequence") return ExitsWith(1);
    std::vector<std::string> objects;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto object = ObjectNamed(words[i]);
        if (!object) return ExitsWith(1);
        objects.push_back(*object);
    }
    if (toDefault)
        SetRegistryString(BcdElementKey(kBootManagerGuid, kDefault), kElement, objects.front());
    else
        SetRegistryMultiString(BcdElementKey(kBootManagerGuid, kBootSequence), kElement, objects);
    return ExitsWith(0);
}

}  // namespace

std::string BcdElementKey(const std::string& objectGuid, const std::string& element) {
    return kBcdStoreKey + "\\Objects\\" + objectGuid + "\\Elements\\" + element;
}

void SetBcdStore(const BcdStore& store) {
    RemoveRegistryKey(kBcdStoreKey);
    SetRegistryMultiString(BcdElementKey(kBootManagerGuid, kDisplayOrder), kElement, store.displayOrder);
    if (!store.defaultEntry.empty())
        SetRegistryString(BcdElementKey(kBootManagerGuid, kDefault), kElement, store.defaultEntry);
    for (const auto& entry : store.entries) {
        if (entry.description.empty())
            detail::KeyAtPath(kBcdStoreKey + "\\Objects\\" + entry.guid + "\\Elements", true);
        else
            SetRegistryString(BcdElementKey(entry.guid, kDescription), kElement, entry.description);
    }
}

std::optional<std::string> BcdDefault() {
    return ReadRegistryString(BcdElementKey(kBootManagerGuid, kDefault), kElement);
}

std::vector<std::string> BcdBootSequence() {
    return ReadRegistryMultiString(BcdElementKey(kBootManagerGuid, kBootSequence), kElement)
        .value_or(std::vector<std::string>{});
}

void SetBcdedit(BcdeditMode mode) {
    SetProgramBehaviour("bcdedit.exe", [mode](const std::string& commandLine) { return Bcdedit(mode, commandLine); });
}

}  // namespace winsim
