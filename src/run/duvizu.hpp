// The engine's one exported entry point.
#pragma once

// DUVIZU
// Runs one analysis from the files named in "Names.dat" in the current
// directory. Returns 0 after every run that could create its tables, whatever
// the analysis' outcome (that is in the run log and the result-code file);
// a positive allocator code when the tables could not be created.
extern "C" __attribute__((visibility("default"))) int DUVIZU(void);
