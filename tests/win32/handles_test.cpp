// The platform's holders, on their rarer paths too (a handle moved onto
// itself, nothing to hold, a window disabled before a modal window came),
// and the program's apartment: entered once, on first need, and never left.
#include "platform/handles_win32.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shobjidl.h>

#include <thread>
#include <utility>

#include "platform/apartment_win32.h"

namespace mivra {
namespace {

TEST(Holders, KeepWhatTheyHoldAndGiveBackOnlyWhatTheyTook) {
    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const long live = UniqueBrush::Live();
    UniqueBrush& same = brush;
    brush = std::move(same);
    EXPECT_TRUE(brush);
    EXPECT_EQ(UniqueBrush::Live(), live);

    // A modal window blocks its owner once and gives it back; an owner that
    // was disabled already stays so, and no window is no owner.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    {
        InputBlock block;
        block.Block(nullptr);
        block.Block(owner);
        EXPECT_FALSE(IsWindowEnabled(owner));
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    EnableWindow(owner, FALSE);
    { InputBlock().Block(owner); }
    EXPECT_FALSE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

// The shell's link object, which needs the thread to be in an apartment.
HRESULT CreateShellLinkObject() {
    ComPtr<IUnknown> link;
    return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                            link.PutVoid());
}

// Each case on a thread of its own, which starts in no apartment, whatever
// the tests before it left on the main thread.
TEST(ProgramApartment, IsEnteredOnceOutlivesAnotherOwnersScopeAndStaysOutOfTheWay) {
    std::thread([] {
        ASSERT_EQ(CreateShellLinkObject(), CO_E_NOTINITIALIZED);
        ASSERT_TRUE(EnterApartment());
        EXPECT_EQ(CreateShellLinkObject(), S_OK);
        EXPECT_TRUE(EnterApartment());

        // Someone else's scope on the same thread begins and ends: the
        // program's apartment stays.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        CoUninitialize();
        EXPECT_EQ(CreateShellLinkObject(), S_OK);

        // The program entered once, however often it asked: one leave, as
        // the system does at the thread's end, and the apartment is gone.
        CoUninitialize();
        EXPECT_EQ(CreateShellLinkObject(), CO_E_NOTINITIALIZED);
    }).join();
    std::thread([] {
        // An apartment someone else opened first and then leaves: the
        // program's reference keeps it.
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        ASSERT_TRUE(EnterApartment());
        CoUninitialize();
        EXPECT_EQ(CreateShellLinkObject(), S_OK);
        CoUninitialize();
    }).join();
    std::thread([] {
        // The multithreaded apartment: usable as it is, nothing taken, so
        // its owner's leave ends it.
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_TRUE(EnterApartment());
        EXPECT_EQ(CreateShellLinkObject(), S_OK);
        CoUninitialize();
        EXPECT_EQ(CreateShellLinkObject(), CO_E_NOTINITIALIZED);
    }).join();
}

} // namespace
} // namespace mivra
