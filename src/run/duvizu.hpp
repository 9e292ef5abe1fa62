// The engine's one exported entry point, declared for hosts in include/pilecap.h
// (with its contract: "Names.dat" in the current folder, the return value, one
// run at a time in a process).
#pragma once

#include "pilecap.h"
