// Runs the built program as a child process and captures what it prints.
#pragma once

#include <string>
#include <vector>

namespace sarnik::test {

struct ProcessResult {
  std::string out;
  std::string err;
  int exit_code = -1;
};

// Runs argv[0] with the arguments argv[1..] in directory cwd (the current
// one when empty), with an empty standard input.
ProcessResult run_process(const std::vector<std::string>& argv, const std::string& cwd = "");

// The program under test: SARNIK_BIN / SARNIK_ADD2_BIN when set, else the
// programs of this build tree. With SARNIK_RUNNER set (for example "wine"),
// each program is started through it.
enum class Program { add3, add2 };
ProcessResult run_sarnik(Program program, const std::vector<std::string>& args,
                         const std::string& cwd = "");
inline ProcessResult run_sarnik(const std::vector<std::string>& args, const std::string& cwd = "") {
  return run_sarnik(Program::add3, args, cwd);
}

// The path of the program under test.
std::string program_path(Program program);

// True when the programs run through a runner such as Wine.
bool runs_under_runner();

}  // namespace sarnik::test
