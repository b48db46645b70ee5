#include "platform/apartment_win32.h"

#include <windows.h>

#include <objbase.h>

namespace mivra {

namespace {

// Marks a thread that holds its apartment. A thread's slot starts empty and
// ends with the thread, so any thread, old or new, is told apart.
DWORD HeldSlot() {
    static const DWORD slot = TlsAlloc();
    return slot;
}

} // namespace

bool EnterApartment() {
    const DWORD slot = HeldSlot();
    if (slot != TLS_OUT_OF_INDEXES && TlsGetValue(slot)) return true;
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // In the multithreaded apartment COM works as it is; there is nothing to
    // hold, and the next call asks again.
    if (hr == RPC_E_CHANGED_MODE) return true;
    if (FAILED(hr)) return false;
    // S_OK or S_FALSE: either way a reference that is never given back.
    if (slot != TLS_OUT_OF_INDEXES) TlsSetValue(slot, reinterpret_cast<void*>(1));
    return true;
}

} // namespace mivra
