#pragma once

namespace listora {

// Keeps a list's freed memory for the next one: up to 256 MiB freed is not
// given back to the kernel, and blocks below 32 MiB (a million rows' vector
// among them) come from the heap, so that opening one playlist after
// another does not fault every page in again. Called first thing in main().
void applyHeapSettings();

}  // namespace listora
