// CreateProcessA: the program's image found, the process in the table, its behaviour run.
#include <map>
#include <string>

#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/names.h"
#include "platform/winsim/system/process_table.h"
#include "platform/winsim/system/program_search.h"

namespace winsim {
namespace {

using Behaviours = std::map<std::string, ProgramBehaviour>;  // by lower-case image name
Behaviours& TheBehaviours() { return detail::AreaState<Behaviours>(); }

std::string ShowCommand(const STARTUPINFOA* startup) {
    return startup && (startup->dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup->wShowWindow) : "";
}

}  // namespace

void SetProgramBehaviour(const std::string& imageName, ProgramBehaviour behaviour) {
    TheBehaviours()[detail::Lower(imageName)] = std::move(behaviour);
}

}  // namespace winsim

BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                           BOOL, DWORD creationFlags, LPVOID, LPCSTR, LPSTARTUPINFOA startupInfo,
                           LPPROCESS_INFORMATION processInformation) {
    using namespace winsim::detail;
    if (FailsNow("CreateProcessA")) return FALSE;
    RecordRequest({"CreateProcessA",
                   {applicationName ? applicationName : "", commandLine ? commandLine : "",
                    std::to_string(creationFlags), winsim::ShowCommand(startupInfo)}});
    const auto image =
        applicationName ? ImageAt(applicationName) : FindProgram(ProgramOf(commandLine ? commandLine : ""));
    if (!image) return FALSE;

    const std::string name = FileNameOf(*image);
    const bool suspended = (creationFlags & CREATE_SUSPENDED) != 0;
    auto& behaviours = winsim::TheBehaviours();
    auto found = behaviours.find(Lower(name));
    if (!suspended && found == behaviours.end())
        throw winsim::NoBehaviour("winsim: " + *image + " started, with no behaviour set for " + name +
                                  " (winsim::SetProgramBehaviour)");

    const DWORD pid = NewId(), tid = NewId();
    winsim::AddProcess({pid, name, winsim::kCurrentProcessId, false, *image});
    *processInformation = {winsim::AddHandle(std::make_shared<ProcessObject>(pid, PROCESS_ALL_ACCESS)),
                           winsim::AddHandle(std::make_shared<ThreadObject>(pid)), pid, tid};
    // A suspended process runs nothing until it is resumed.
    if (suspended) return TRUE;
    // A copy: the behaviour may set behaviours itself.
    const winsim::ProgramBehaviour behaviour = found->second;
    const winsim::ProgramOutcome outcome = behaviour(commandLine ? commandLine : applicationName);
    if (outcome.exitCode) EndProcess(pid, *outcome.exitCode);
    return TRUE;
}
