// The output file of a run, from its creation to its commit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/file.hpp"

namespace sarnik {

// An output's whole life: refused over a file the run reads or writes its
// console text to, created and held, written, settled, closed. Until its
// commit succeeds it is not the result asked for, and whoever leaves it
// uncommitted (an error exit, from wherever it comes) leaves it empty, or,
// when it was created new, leaves none.
class OutputFile {
 public:
  // Refuses the output over a file that the run reads (an input, or the
  // script whose identity is given) or that its console text goes to
  // (compared by identity, not by name), then creates it, held against other
  // runs, and empties it (File::create_write). Each failure stops through
  // the error exit.
  OutputFile(const std::string& name, const std::vector<std::string>& input_names,
             const std::optional<platform::FileId>& script);
  // A new file (File::create_new). Stops through the error exit when a file
  // of that name exists or it cannot be created.
  explicit OutputFile(std::string name);
  // Empties the file, or removes the new one, when it was not committed.
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
  // Appends the bytes; stops through the error exit when the write fails.
  void write(const void* bytes, std::size_t n);
  // Closes the file; stops through the error exit when the close fails.
  // The file is still removed when it is left uncommitted.
  void close();
  // Closes the file, when it is open, and from now on keeps it as it is;
  // stops through the error exit when the close fails.
  void commit();

 private:
  platform::File file_;
  std::string new_name_;  // the name of a new file, which removal takes
  bool committed_ = false;
};

}  // namespace sarnik
