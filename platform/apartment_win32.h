// The program's COM apartment: entered on the first call that needs COM (a
// shell call, a shortcut, a screen reader's first question) and kept for
// the rest of the run. Start-up pays nothing for it, and no window starts
// or ends it.
#pragma once

namespace mivra {

// Enters a single-threaded apartment on the calling thread the first time,
// and never leaves it. True when the thread can use COM: also when it was
// already in an apartment (the program's reference then keeps it alive
// after its first owner leaves), or in the multithreaded one, which the
// thread keeps and which holds nothing of the program's.
bool EnterApartment();

} // namespace mivra
