// Work handed to a window's thread from anywhere (a watching thread's result,
// say): it runs once, on that thread, only while its window lives, and no
// message another sender makes up runs anything.
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct Postbox : tk::Form {
    Postbox() : Form({.caption = "Postbox", .clientWidth = 100, .clientHeight = 60}) {}
};

// The message postToWindow left in the window's queue, taken out undelivered:
// its number and key are the toolkit's own, so they are read from there.
MSG takePosted(HWND window) {
    MSG message{};
    EXPECT_TRUE(PeekMessageA(&message, window, WM_APP, 0xBFFF, PM_REMOVE));
    return message;
}

TEST(PostToWindow, WorkForAWindowDestroyedBeforeItRunsIsDropped) {
    int ran = 0;
    auto captured = std::make_shared<int>();
    HWND gone = nullptr;
    {
        Postbox box;
        gone = box.handle();
        ASSERT_TRUE(tk::postToWindow(gone, [&ran, captured] { ++ran; }));
        ASSERT_TRUE(tk::postToWindow(gone, [&ran, captured] { ++ran; }));
    }
    EXPECT_EQ(captured.use_count(), 1) << "the work went with its window";
    EXPECT_FALSE(tk::postToWindow(gone, [&ran] { ++ran; }));

    Postbox next; // a window that may get the same handle
    tk::application().processMessages();
    EXPECT_EQ(ran, 0);
}

TEST(PostToWindow, AMessageOfTheSameKindFromAnotherSenderDoesNothing) {
    Postbox box;
    Postbox other;
    int ran = 0;
    ASSERT_TRUE(tk::postToWindow(box.handle(), [&ran] { ++ran; }));
    MSG genuine = takePosted(box.handle());
    ASSERT_GE(genuine.message, static_cast<UINT>(WM_APP));

    for (LPARAM made : {LPARAM(0), genuine.lParam + 1, LPARAM(-1)})
        PostMessageA(box.handle(), genuine.message, genuine.wParam, made);
    PostMessageA(other.handle(), genuine.message, genuine.wParam, genuine.lParam);
    tk::application().processMessages();
    EXPECT_EQ(ran, 0) << "made-up keys, and a real key for another window";

    DispatchMessageA(&genuine);
    EXPECT_EQ(ran, 1);
    DispatchMessageA(&genuine);
    EXPECT_EQ(ran, 1) << "the same message again runs nothing";
}

TEST(PostToWindow, PostsFromSeveralThreadsEachRunOnceOnTheWindowsThread) {
    constexpr int threads = 4;
    constexpr int posts = 100;
    Postbox box;
    HWND window = box.handle();
    DWORD windowThread = GetCurrentThreadId();
    std::vector<int> runs(threads * posts, 0);
    int total = 0;
    int elsewhere = 0;
    std::atomic<int> refused = 0;

    std::vector<std::thread> posters;
    for (int t = 0; t < threads; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < posts; ++i) {
                bool posted = tk::postToWindow(window, [&, n = t * posts + i] {
                    ++runs[n];
                    ++total;
                    elsewhere += GetCurrentThreadId() != windowThread;
                });
                refused += !posted;
            }
        });
    // Taken in while the others still post.
    for (DWORD start = GetTickCount(); total < threads * posts && GetTickCount() - start < 10000;)
        tk::application().processMessages();
    for (std::thread& poster : posters)
        poster.join();
    tk::application().processMessages();

    EXPECT_EQ(refused, 0);
    EXPECT_EQ(std::count(runs.begin(), runs.end(), 1), threads * posts);
    EXPECT_EQ(elsewhere, 0);
}

} // namespace
