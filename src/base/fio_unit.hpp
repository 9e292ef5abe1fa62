// fio internals shared by its source files: the unit table and the byte
// stream behind a unit (a C stdio file or an in-memory string). Not for use
// outside src/run/fio_*.cpp.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "base/fio.hpp"

namespace pilecap::fio::internal {

// One connected (or free) unit. Every field is guarded by lock.
struct Unit {
  std::mutex lock;
  bool open = false;
  bool memory = false;
  Mode mode = Mode::Write;
  Form form = Form::Formatted;
  Buffering buffering = Buffering::Line;
  std::string path;

  std::FILE* file = nullptr;  // file units
  std::string data;           // memory units: the whole content
  std::size_t position = 0;   // memory units: next byte to read

  std::string line;         // formatted output: the current, unfinished line
  bool line_open = false;   // a line was left open (trailing backslash, fields)
  bool may_shrink = false;  // a rewind or backspace on a written file: the next
                            // write ends the file there
  int lines_read = 0;
  std::string bad_field;
  // The target of the last list-directed read that bad_field failed to fit:
  // its 0-based place in the read's list and its kind; a repeat count that
  // is not a positive integer fits no target (bad_repeat).
  int bad_target = -1;
  Target::Kind bad_kind = Target::Kind::Int;
  bool bad_repeat = false;
  // The first real of the last list-directed read written with a sign and
  // digits but no exponent letter ("1-3" for 0.001), and its line.
  std::string letterless_field;
  int letterless_line = 0;
  // The last list-directed read: values it took from its last line, and the
  // values that line holds after them (which the read leaves unread).
  int list_values_read = 0;
  int list_values_left = 0;
  std::string read_line;  // formatted input: scratch for the line just read
};

// The unit, or nullptr when the number is outside the table.
Unit* unit_at(int unit);

// Stream operations; the caller holds u.lock.
bool put_bytes(Unit& u, const char* bytes, std::size_t count);
std::size_t get_bytes(Unit& u, char* bytes, std::size_t count);
long tell(Unit& u);
bool seek(Unit& u, long offset);

// Formatted output on a unit whose lock is held: text goes to the current
// line; finish_line hands the line and its LF to the stream.
int finish_line(Unit& u);

// Reads the next line (without its LF or a trailing CR) into text.
// Returns IO_OK, IO_END or an error. Counts lines_read.
int next_line(Unit& u, std::string& text);

// Records u's refused write as the first write failure unless one is
// recorded already; the caller holds u.lock.
void note_write_failure(const Unit& u);

// Checks that the unit is open for formatted writing / reading.
int check_formatted_write(Unit* u);
int check_formatted_read(Unit* u);

}  // namespace pilecap::fio::internal
