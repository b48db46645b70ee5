#include "base/trace.h"

namespace mivra {

namespace {
TraceSink sink = nullptr;
} // namespace

void SetTraceSink(TraceSink to) {
    sink = to;
}

void TraceFailure(const char* what, long code) {
    if (sink) sink(what, code);
}

} // namespace mivra
