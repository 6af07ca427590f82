// Child processes of the serial tests (socat, a Python peer, a probe). A started child gets SIGTERM when the
// test process ends, even by a crash, so that no peer outlives its test.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace qav::test::serial {

// Starts argv[0] (looked up in PATH unless it holds a '/') with the given arguments; standard input and
// output are /dev/null, standard error goes to `errorLog`. -1 when it cannot be started.
pid_t StartChild(const std::vector<std::string>& argv, const std::string& errorLog = "/dev/null");

// SIGTERM, then waits for it.
void StopChild(pid_t pid);

// Runs argv to its end: its exit status, or -1 when it could not run or did not exit normally.
int RunChild(const std::vector<std::string>& argv);

}  // namespace qav::test::serial
