#pragma once
// Contract fixtures for the system calls: a clean winsim per test, and a child process to open
// and terminate (a suspended copy of this test program on Windows, a table entry on winsim).
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "tests/platform/contract_fixture.h"

#ifndef _WIN32
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#endif

namespace contract {

class SystemContract : public ::testing::Test {
 protected:
    void SetUp() override {
#ifndef _WIN32
        winsim::Reset();
#endif
    }
    void TearDown() override {
#ifndef _WIN32
        winsim::Reset();
#endif
    }

    // The file name of this program, from its own module path.
    static std::string OwnImageName() {
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string text = path;
        return text.substr(text.find_last_of("\\/:") + 1);
    }
};

// A process that does nothing until it is terminated.
class ChildProcess {
 public:
    ChildProcess() {
#ifdef _WIN32
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string commandLine = "\"";
        commandLine.append(path).append("\"");
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION info = {};
        // Suspended, the copy never runs a line of its own: nothing to clean up but the process.
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            pid_ = info.dwProcessId;
        }
#else
        pid_ = 4000;
        winsim::AddProcess({pid_, "child.exe", GetCurrentProcessId()});
#endif
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
#ifdef _WIN32
        if (process_) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
#endif
    }

    bool Started() const { return pid_ != 0; }
    DWORD Pid() const { return pid_; }

    // Whether it has ended, and with which exit code. On Windows termination is asynchronous, so
    // this waits for the end a few seconds at most.
    bool Ended(DWORD* exitCode) const {
#ifdef _WIN32
        if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) return false;
        return GetExitCodeProcess(process_, exitCode) != FALSE;
#else
        for (const auto& process : winsim::Processes())
            if (process.pid == pid_) return false;
        for (const auto& request : winsim::Requests())
            if (request.call == "TerminateProcess" && request.args[0] == std::to_string(pid_))
                *exitCode = static_cast<DWORD>(std::stoul(request.args[1]));
        return true;
#endif
    }

 private:
#ifdef _WIN32
    HANDLE process_ = nullptr;
#endif
    DWORD pid_ = 0;
};

}  // namespace contract
