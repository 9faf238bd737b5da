// The thread's queue: order of posted messages, the quit message, filters, WM_NULL.
#include "tests/platform/ui_contract.h"

namespace {

using contract::kSentinel;

class QueueContract : public contract::UiContract {
 protected:
    // The messages this test posted (WM_APP range, WM_NULL, WM_QUIT), in the order retrieved;
    // anything else the system queues is dispatched.
    std::vector<MSG> Retrieve() {
        std::vector<MSG> got;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || msg.message == WM_NULL || (msg.message >= WM_APP && msg.message < WM_APP + 16))
                got.push_back(msg);
            else
                DispatchMessageA(&msg);
        }
        return got;
    }

    static std::string Numbers(const std::vector<MSG>& messages) {
        std::string out;
        for (const auto& msg : messages) out += std::to_string(msg.message) + " ";
        return out;
    }
};

TEST_F(QueueContract, QuitComesAfterEveryPostedMessage) {
    HWND hwnd = Create(0x06CF0000);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 1, 11, 0));
    PostQuitMessage(7);
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 2, 0, 0));
    ASSERT_TRUE(PostMessageA(nullptr, WM_APP + 3, 0, 0));
    auto got = Retrieve();
    ASSERT_EQ(4u, got.size()) << Numbers(got);
    EXPECT_EQ(static_cast<UINT>(WM_APP + 1), got[0].message);
    EXPECT_EQ(hwnd, got[0].hwnd);
    EXPECT_EQ(11u, got[0].wParam);
    EXPECT_EQ(static_cast<UINT>(WM_APP + 2), got[1].message);
    EXPECT_EQ(static_cast<UINT>(WM_APP + 3), got[2].message);
    EXPECT_EQ(nullptr, got[2].hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), got[3].message);
    EXPECT_EQ(7u, got[3].wParam);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message is retrieved once";
}

TEST_F(QueueContract, PostedNullIsRetrievedInOrder) {
    HWND hwnd = Create(0x06CF0000);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(PostMessageA(hwnd, WM_NULL, 0, 0));
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP, 0, 0));
    auto got = Retrieve();
    ASSERT_EQ(2u, got.size()) << Numbers(got);
    EXPECT_EQ(static_cast<UINT>(WM_NULL), got[0].message);
    EXPECT_EQ(hwnd, got[0].hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_APP), got[1].message);
}

TEST_F(QueueContract, NoRemoveAndRangeFilters) {
    HWND hwnd = Create(0x06CF0000);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 1, 0, 0));
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 2, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_APP + 1, WM_APP + 2, PM_NOREMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_APP + 1), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_APP + 2, WM_APP + 2, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_APP + 2), msg.message) << "the range skips the earlier message";
    auto got = Retrieve();
    ASSERT_EQ(1u, got.size()) << Numbers(got);
    EXPECT_EQ(static_cast<UINT>(WM_APP + 1), got[0].message);
}

TEST_F(QueueContract, DispatchAndSendReachTheProcedure) {
    HWND hwnd = Create(0x06CF0000);
    ASSERT_NE(nullptr, hwnd);
    contract::MessageLog().clear();
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 5, 1, 2));
    EXPECT_EQ(-1, contract::IndexOf(WM_APP + 5)) << "posting calls nothing";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_APP + 5, WM_APP + 5, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_GE(contract::IndexOf(WM_APP + 5), 0);
    SendMessageA(hwnd, WM_APP + 6, 0, 0);
    EXPECT_GE(contract::IndexOf(WM_APP + 6), 0) << "sending calls the procedure at once";
}

TEST_F(QueueContract, PostingToNoWindowFails) {
    SetLastError(kSentinel);
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x7FFF0), WM_APP, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

}  // namespace
