// The output file of a run, from its creation to its commit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file.hpp"

namespace sarnik {

// The output's whole life: refused over a file the run reads or writes its
// console text to, created and held, written, settled, closed. Until its
// commit succeeds it is not the cut asked for, and whoever leaves it
// uncommitted (an error exit, from wherever it comes) leaves it empty.
class OutputFile {
 public:
  // Refuses the output over a file that the run reads (an input, or the
  // script whose identity is given) or that its console text goes to
  // (compared by identity, not by name), then creates it, held against other
  // runs, and empties it (File::create_write). Each failure stops through
  // the error exit.
  OutputFile(const std::string& name, const std::vector<std::string>& input_names,
             const std::optional<platform::FileId>& script);
  // Empties the file when it was not committed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // The file, to be written; from now on an interrupt empties it
  // (empty_on_interrupt).
  platform::File& start_writing();
  // Settles what was written (File::settle), so that a deferred write error
  // shows while the file can still be emptied; stops through the error exit
  // when the system reports one.
  void settle();
  // Closes the file, which from now on stays as it is; stops through the
  // error exit when the close fails.
  void commit();

 private:
  platform::File file_;
};

}  // namespace sarnik
