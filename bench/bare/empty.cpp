// vextel-bench-empty and vextel-bench-empty-cups: a program that does nothing, built twice, once
// linked to libcups. The difference is what any filter that reads its options and PPD with
// libcups pays to start, before it reads a byte of the document.
#ifdef VEXTEL_BENCH_WITH_CUPS
#include <cups/cups.h>
#endif

int main() {
#ifdef VEXTEL_BENCH_WITH_CUPS
    // A call, so that the linker keeps libcups and the loader runs its start-up.
    return cupsGetOption("none", 0, nullptr) == nullptr ? 0 : 1;
#else
    return 0;
#endif
}
