#pragma once
// Whole runs of the program on winsim: drive C: and the exe's drive D: on fresh host folders, the
// framework's process-wide state cleared, the user's part played by scripts for each popup.
#include <array>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/entry_point.h"
#include "platform/winsim/files/files_control.h"
#include "platform/winsim/ui/ui_control.h"
#include "tests/support/host_folder.h"
#include "tests/support/process.h"

namespace mvorbel::testing {

// The user's texts, spelled here on their own so that a wrong byte in the program shows.
// "Перезагрузить в "
inline const std::string kRestartInto = "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC \xE2 ";
// "Перевести в спящий режим"
inline const std::string kHibernate =
    "\xCF\xE5\xF0\xE5\xE2\xE5\xF1\xF2\xE8 \xE2 \xF1\xEF\xFF\xF9\xE8\xE9 \xF0\xE5\xE6\xE8\xEC";
// "Выключить компьютер"
inline const std::string kTurnOff = "\xC2\xFB\xEA\xEB\xFE\xF7\xE8\xF2\xFC \xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0";
// "Отмена"
inline const std::string kCancel = "\xCE\xF2\xEC\xE5\xED\xE0";
inline const std::string kSeparator = "-";
// Three systems, the second the default, as an XP machine with two more systems has them.
inline const std::string kKey1 = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";
inline const std::string kKey2 = "multi(0)disk(0)rdisk(0)partition(2)\\WINDOWS";
inline const std::string kKey3 = "C:\\";
inline const std::string kDescription1 = "\"Windows XP Home\" /fastdetect";
inline const std::string kDescription2 = "\"Windows XP Professional\" /fastdetect";
inline const std::string kDescription3 = "\"Windows 98\"";

inline std::string BootIni(const std::string& defaultKey) {
    return "[boot loader]\r\ntimeout=30\r\ndefault=" + defaultKey + "\r\n[operating systems]\r\n" +
           kKey1 + "=" + kDescription1 + "\r\n" + kKey2 + "=" + kDescription2 + "\r\n" + kKey3 +
           "=" + kDescription3 + "\r\n";
}

inline std::string Os(const std::string& description) { return kRestartInto + description; }
inline std::string Checked(const std::string& label) { return "[x] " + label; }

// Names each case of a parameterised test after its `name`.
inline constexpr auto kCaseName = [](const auto& info) {
    return std::string(info.param.name);
};

// The user chooses the item with this label, in the menu's bytes or in UTF-8 (Ctrl and Shift held
// or not), then moves the mouse away.
inline winsim::TrackScript Choose(const std::string& label, bool ctrl = false, bool shift = false) {
    return [=](const winsim::Tracking& tracking) -> std::optional<UINT> {
        winsim::SetKeyDown(VK_CONTROL, ctrl);
        winsim::SetKeyDown(VK_SHIFT, shift);
        SetCursorPos(3, 7);
        for (const auto& line : tracking.items) {
            if (!line.separator && (line.text == label || line.utf8 == label)) return line.id;
        }
        ADD_FAILURE() << "the menu offers no item \"" << label << "\"";
        return std::nullopt;
    };
}

// A request as the stories tell it. The error box's address is where the error was raised; the
// unit tests read it.
inline std::string Said(winsim::Request request) {
    if (request.call == "MessageBoxA" && request.args.at(2) == "Application Error") {
        std::string& text = request.args.at(1);
        const std::size_t at = text.find(" at ") + 4;
        text.replace(at, text.find(".\n") - at, "<address>");
    }
    std::ostringstream text;
    text << request;
    return text.str();
}

inline winsim::TrackScript Dismiss() {
    return [](const winsim::Tracking&) -> std::optional<UINT> { return std::nullopt; };
}

class Scenario : public HostFolderTest {
 protected:
    Scenario() : HostFolderTest("mvorbel-scenario") {}
    void SetUp() override {
        StartProcess();
        std::filesystem::create_directories(host_ / "c" / "WINDOWS" / "system32");
        std::filesystem::create_directories(host_ / "d" / "mVorbel");
        winsim::MapDrive('C', host_ / "c");
        winsim::MapDrive('D', host_ / "d");
        winsim::SetModuleFileName("D:\\mVorbel\\mvorbel.exe");
        winsim::SetSystemDirectory("C:\\WINDOWS\\system32");
        SetCursorPos(412, 296);
    }

    void TearDown() override {
        // Every notice and error box of every run must reach the user's eyes.
        EXPECT_EQ(winsim::MessageBoxesCutShort(), 0u) << "a box closed while a quit was pending";
        // A run that ended normally gave everything back itself; one that ended the process left
        // it to the platform.
        const std::array live = {winsim::LiveWindows().size(), winsim::LiveMenuCount(), winsim::LiveGdiObjectCount(),
                                 winsim::LiveIconCount(), winsim::OpenHandleCount()};
        EXPECT_EQ(live, decltype(live){}) << "windows, menus, GDI objects, icons, handles";
        StartProcess();
    }

    // The program from start to exit code, as the exe runs it: RunApplication's result, or the
    // code it ended the process with.
    static UINT RunProgram() {
        UINT code = 0;
        if (auto ended = ExitCodeOf([&] { code = static_cast<UINT>(RunApplication()); })) return *ended;
        return code;
    }

    // The program run with the user's part in each popup played by the next of `menus`, told as a
    // story: the requests to the machine in the order they came, each popup as `popup` tells it.
    // The story, and the exit code.
    static std::pair<std::vector<std::string>, UINT> Tell(
        const std::vector<winsim::TrackScript>& menus, const std::function<std::string(const winsim::Tracking&)>& popup) {
        std::vector<std::string> story;
        std::size_t told = 0;
        const auto tellRequests = [&] {
            for (; told < winsim::Requests().size(); ++told) story.push_back(Said(winsim::Requests()[told]));
        };
        for (const winsim::TrackScript& menu : menus) {
            winsim::QueueTrackScript([&, menu](const winsim::Tracking& tracking) {
                tellRequests();
                story.push_back(popup(tracking));
                return menu(tracking);
            });
        }
        const UINT code = RunProgram();
        tellRequests();
        return {story, code};
    }

    void PutSettings(const std::string& content) { Put("d/mVorbel/mvorbel.ini", content); }

    // The three systems, the second the default, a hibernation file and the player running.
    void PrepareRoad() {
        Put("c/boot.ini", BootIni(kKey2));
        Put("c/hiberfil.sys", "z");
        winsim::AddProcess({2345, "Winamp.exe", 1200});
    }
};

}  // namespace mvorbel::testing
