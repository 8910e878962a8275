// Between the benchmark and its bare preview program.
#ifndef MORVANE_TESTS_BENCH_BENCH_MESSAGES_H
#define MORVANE_TESTS_BENCH_BENCH_MESSAGES_H

#include <windows.h>

const char kBarePreviewClass[] = "BarePreview";
// Rebuilds the bare preview; answers 1 when the new graph runs.
const UINT kRebuildPreview = WM_APP + 1;

#endif
