// The vrk program as a function, so that more than the executable can run it whole (the fuzz
// target over the real files, the soak benchmark).
#pragma once

namespace vrk {

// Everything `vrk` does for `argv`, returning the exit status. Descriptors 0 to 2 are opened on
// /dev/null when closed; running out of memory ends the process with status 3.
int run_vrk(int argc, char** argv);

// Frees the translation the last run keeps for the process's exit.
void release_finished_translation();

}  // namespace vrk
