// The program's entry: starts SDL, runs the game shell inside checked execution and ends the
// process with status 1 (2 when SDL cannot start). Never returns.
#pragma once

[[noreturn]] void RunMain(int argc, char** argv);
