// The headless backend's own promises, which the game's tests and the
// replay tool build on.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdlib>

#include <vector>

#include "platform/headless.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

std::vector<uint32_t> received;

void OpenWindow() {
    received.clear();
    ASSERT_TRUE(RegisterWindowClass([](Window* w, uint32_t message, uintptr_t wParam, intptr_t lParam) -> intptr_t {
        received.push_back(message);
        if (message == WM_DESTROY) PostQuitMessage(0);
        return message == WM_CLOSE ? DefWindowProc(w, message, wParam, lParam) : 0;
    }));
    ShowMainWindow(CreateMainWindow());
}

}  // namespace

TEST(HeadlessWindow, WaitingWithNothingToWaitForClosesThroughTheProcedure) {
    OpenWindow();
    WaitMessage();  // instead of hanging
    Message m;
    while (PeekMessage(m) && m.message != WM_QUIT) DispatchMessage(m);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_FALSE(hl::WindowExists());
    EXPECT_EQ(std::vector<uint32_t>(received.end() - 2, received.end()), (std::vector<uint32_t>{WM_CLOSE, WM_DESTROY}));
}

TEST(HeadlessPresenter, CountsSurfacesStillAliveAndKeepsTheShownFrame) {
    ASSERT_TRUE(CreatePresenter(nullptr));
    int pitch = 0;
    uint32_t* primary = CreatePrimarySurface(false, pitch);
    ASSERT_NE(primary, nullptr);
    uint32_t* a = CreateSurfaceMemory(8, 8, pitch);
    ASSERT_TRUE(a && CreateSurfaceMemory(8, 8, pitch));
    ReleaseSurfaceMemory(a);
    primary[0] = 0x123456;
    for (int i = 0; i < 3; ++i) ShowPrimarySurface();
    EXPECT_EQ(hl::PresentedFrames(), 3);
    EXPECT_EQ(hl::LastFrame()[0], 0x123456u);
    EXPECT_EQ(ReleasePresenter(), 1);
    EXPECT_TRUE(hl::Events().back().kind == hl::EventKind::PresenterReleased && hl::Events().back().count == 1);
    EXPECT_EQ(CreateSurfaceMemory(8, 8, pitch), nullptr);  // no presenter
}

#ifndef _WIN32
// Memory the machine will not give is a null surface, as the interface
// promises, not an exception through the game. (Windows has no limit on a
// process's address space to set.)
void ExitNullWithoutTheMemory() {
    const rlim_t limit = 512u << 20;
    const rlimit cap{limit, limit};
    setrlimit(RLIMIT_AS, &cap);
    int pitch = 0;
    CreatePresenter(nullptr);
    std::exit(CreateSurfaceMemory(MaxSurfaceSide, MaxSurfaceSide, pitch) == nullptr ? 0 : 1);
}

TEST(HeadlessPresenter, SurfaceMemoryRefusedByTheMachineIsNull) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer's allocator ignores the address-space limit";
#endif
    EXPECT_EXIT(ExitNullWithoutTheMemory(), testing::ExitedWithCode(0), "");
}
#endif
