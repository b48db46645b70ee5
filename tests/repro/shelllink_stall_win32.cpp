// A stand-alone program (plain Win32 and COM, nothing of Mivra's) showing why
// IShellLinkW::SetPath can hang in a 32-bit Wine process that QEMU's user-mode
// emulator runs. scripts/repro-stall builds it and runs it under 32-bit and
// 64-bit Wine, each run with a time limit.
//
// Wine keeps each thread's TEB behind %fs, through a thread-local GDT entry
// that every thread sets with set_thread_area and Linux keeps per thread.
// QEMU's emulation keeps one GDT for the whole process, so the entry holds
// the TEB of the thread that set it last. A thread does not notice until it
// reloads %fs, which Wine does in every signal handler: after that it runs on
// the other thread's TEB, and its next wait reads the other thread's wake-up
// pipe and never returns. The wineserver interrupts a thread with SIGUSR1
// when, for instance, a device request (SetPath asks the mount manager about
// the target's volume) completes before the thread has begun to wait for it.
//
//   shelllink_stall_win32 setpath [--no-thread]
//       In an STA with one other thread that only waits (as GoogleTest's
//       thread watcher does, or the RPC threads a screen reader's calls
//       leave behind), calls SetPath 60 times. Under 32-bit Wine on QEMU it
//       hangs in most runs, usually in the first few calls; with
//       --no-thread, and under 64-bit Wine, every run ends with "passed".
//   shelllink_stall_win32 teb
//       Deterministic: the main thread takes an access violation while a
//       second thread exists, and a vectored handler reads which thread the
//       TEB says it is on. Prints "passed" when that is the faulting thread;
//       otherwise it names the other thread, and under the emulator the
//       process may not end by itself (its main thread has no TEB of its own).
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>

namespace {

HANDLE never; // an event nobody sets

DWORD WINAPI WaitForever(void*) {
    WaitForSingleObject(never, INFINITE);
    return 0;
}

int SetPathRepeatedly(bool otherThread) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    if (otherThread) CloseHandle(CreateThread(nullptr, 0, WaitForever, nullptr, 0, nullptr));
    Sleep(200); // the thread has set its GDT entry by now
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    for (int i = 1; i <= 60; ++i) {
        std::printf("SetPath %d ...", i);
        std::fflush(stdout);
        IShellLinkW* link = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link))))
            return 3;
        const HRESULT hr = link->SetPath(exe);
        link->Release();
        std::printf(" %s\n", SUCCEEDED(hr) ? "ok" : "failed");
        std::fflush(stdout);
        if (FAILED(hr)) return 1;
    }
    CoUninitialize();
    std::printf("passed\n");
    return 0;
}

// What the faulting thread's own TEB said inside its exception handler.
DWORD faultingThread;
volatile DWORD idInHandler;
volatile LONG handled;

LONG CALLBACK RecordThread(EXCEPTION_POINTERS*) {
    idInHandler = GetCurrentThreadId(); // read from the TEB, no system call
    handled = 1;
    // Going on would need the right TEB; the reporter ends the process.
    for (;;) {
    }
}

// Created last, so the shared GDT entry holds this thread's TEB; it never
// reloads %fs itself, and it is the one that reports.
DWORD WINAPI Report(void* started) {
    SetEvent(static_cast<HANDLE>(started));
    for (int i = 0; i < 100 && !handled; ++i)
        Sleep(50);
    if (!handled) {
        std::printf("the exception handler never ran\n");
    } else if (idInHandler == faultingThread) {
        std::printf("the handler ran on thread %lu, the faulting thread\npassed\n", idInHandler);
    } else {
        std::printf("the handler of thread %lu found thread %lu's TEB (this reporter is %lu)\n",
                    faultingThread, idInHandler, GetCurrentThreadId());
    }
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), handled && idInHandler == faultingThread ? 0 : 1);
    return 0;
}

int FaultWithASecondThread() {
    faultingThread = GetCurrentThreadId();
    AddVectoredExceptionHandler(1, RecordThread);
    HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, Report, started, 0, nullptr));
    WaitForSingleObject(started, 10000);
    Sleep(200);
    *static_cast<volatile int*>(nullptr) = 0; // Wine's SIGSEGV handler reloads %fs
    return 2;                                 // not reached
}

} // namespace

int main(int argc, char** argv) {
    never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const char* mode = argc > 1 ? argv[1] : "setpath";
    if (std::strcmp(mode, "teb") == 0) return FaultWithASecondThread();
    const bool noThread = argc > 2 && std::strcmp(argv[2], "--no-thread") == 0;
    return SetPathRepeatedly(!noThread);
}
