// The program's apartment: entered once, on first need, and never left.
#include "platform/apartment_win32.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shobjidl.h>

#include <thread>

namespace mivra {
namespace {

// The shell's link object, which needs the thread to be in an apartment.
HRESULT CreateShellLinkObject() {
    IUnknown* link = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IUnknown, reinterpret_cast<void**>(&link));
    if (link) link->Release();
    return hr;
}

// Each case on a thread of its own, which starts in no apartment, whatever
// the tests before it left on the main thread.
TEST(ProgramApartment, IsEnteredOnceAndOutlivesAnotherOwnersScope) {
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
}

TEST(ProgramApartment, StaysOutOfTheWayOfAnApartmentEnteredBefore) {
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
