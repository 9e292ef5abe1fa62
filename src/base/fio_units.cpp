// fio units: the unit table, open and close, the byte streams behind units,
// line output (append, end_line) and unformatted sequential records.
// Unformatted records are framed by their byte count as a 4-byte
// little-endian integer before and after the data, so a file can be read
// forward and stepped backward one record at a time.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>

#include "base/check.hpp"
#include "base/fio_unit.hpp"

namespace pilecap::fio {

namespace internal {

namespace {

constexpr std::size_t BLOCK_BUFFER_BYTES = 1 << 16;
constexpr std::size_t RECORD_MARKER_BYTES = 4;
constexpr std::size_t INT_BYTES = 4;
constexpr std::size_t REAL_BYTES = 8;

std::array<Unit, MAX_UNIT + 1>& unit_table() {
  static std::array<Unit, MAX_UNIT + 1> table;
  return table;
}

void put_u32(char* out, std::uint32_t v) {
  for (std::size_t b = 0; b < 4; ++b) out[b] = static_cast<char>((v >> (8 * b)) & 0xFFu);
}

std::uint32_t get_u32(const char* in) {
  std::uint32_t v = 0;
  for (std::size_t b = 0; b < 4; ++b) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[b])) << (8 * b);
  return v;
}

// The first refused write of the process since the last clear; its own lock,
// since two threads may write two units at once.
struct FailureRecord {
  std::mutex lock;
  bool seen = false;
  WriteFailure failure;
};
FailureRecord& failure_record() {
  static FailureRecord record;
  return record;
}

// Disconnects u (lock held): a pending line is ended first so nothing written
// is lost. Returns IO_WRITE_FAILED when that line or the buffered data of a
// file opened to write were refused.
int close_locked(Unit& u) {
  if (!u.open) return IO_OK;
  int result = IO_OK;
  if (u.form == Form::Formatted && u.line_open) result = finish_line(u);
  if (u.file) {
    if (std::fclose(u.file) != 0 && u.mode == Mode::Write) {
      note_write_failure(u);
      result = IO_WRITE_FAILED;
    }
    u.file = nullptr;
  }
  u.open = false;
  u.line.clear();
  u.line_open = false;
  u.may_shrink = false;
  return result;
}

// After a rewind or backspace, a write makes the file end where it stops.
bool shrink_after_write(Unit& u) {
  if (!u.may_shrink) return true;
  u.may_shrink = false;
  if (u.memory) return true;
  if (std::fflush(u.file) != 0) return false;
  const long end = std::ftell(u.file);
  return end >= 0 && ftruncate(fileno(u.file), end) == 0;
}

}  // namespace

void note_write_failure(const Unit& u) {
  const int error = errno;  // of the call that failed, before anything else can change it
  if (u.memory) return;
  FailureRecord& record = failure_record();
  std::lock_guard guard(record.lock);
  if (record.seen) return;
  record.seen = true;
  record.failure.unit = static_cast<int>(&u - unit_table().data());
  record.failure.path = u.path;
  record.failure.error = error;
}

namespace {

// The calling thread's capture: the unit whose writes it takes, and where.
struct Capture {
  int unit = -1;
  Unit* memory = nullptr;
};
thread_local Capture thread_capture;
// The captures alive in the process. Every field a report writes looks its
// unit up, and a thread-local variable of a shared library costs a call to
// reach: it is read only while some capture lives.
std::atomic<int> live_captures{0};

}  // namespace

Unit* unit_at(int unit) {
  if (unit < 0 || unit > MAX_UNIT) return nullptr;
  if (live_captures.load(std::memory_order_relaxed) != 0 && unit == thread_capture.unit) return thread_capture.memory;
  return &unit_table()[static_cast<std::size_t>(unit)];
}

bool put_bytes(Unit& u, const char* bytes, std::size_t count) {
  if (u.memory) {
    // Memory units collect output at their end; position is the read pointer.
    u.data.append(bytes, count);
    return true;
  }
  return std::fwrite(bytes, 1, count, u.file) == count;
}

std::size_t get_bytes(Unit& u, char* bytes, std::size_t count) {
  if (u.memory) {
    const std::size_t available = u.position < u.data.size() ? u.data.size() - u.position : 0;
    const std::size_t taken = count < available ? count : available;
    std::memcpy(bytes, u.data.data() + u.position, taken);
    u.position += taken;
    return taken;
  }
  return std::fread(bytes, 1, count, u.file);
}

long tell(Unit& u) {
  if (u.memory) return static_cast<long>(u.position);
  return std::ftell(u.file);
}

bool seek(Unit& u, long offset) {
  if (offset < 0) return false;
  if (u.memory) {
    if (static_cast<std::size_t>(offset) > u.data.size()) return false;
    u.position = static_cast<std::size_t>(offset);
    return true;
  }
  return std::fseek(u.file, offset, SEEK_SET) == 0;
}

int finish_line(Unit& u) {
  u.line.push_back('\n');
  const bool written = shrink_after_write(u) && put_bytes(u, u.line.data(), u.line.size());
  u.line.clear();
  u.line_open = false;
  if (written && (u.memory || u.buffering != Buffering::Line || std::fflush(u.file) == 0)) return IO_OK;
  note_write_failure(u);
  return IO_WRITE_FAILED;
}

int next_line(Unit& u, std::string& text) {
  text.clear();
  if (u.memory) {
    if (u.position >= u.data.size()) return IO_END;
    const std::size_t end = u.data.find('\n', u.position);
    const std::size_t stop = end == std::string::npos ? u.data.size() : end;
    text.assign(u.data, u.position, stop - u.position);
    u.position = end == std::string::npos ? u.data.size() : end + 1;
  } else {
    // The unit's lock already keeps other threads off the stream.
    int c = getc_unlocked(u.file);
    if (c == EOF) return std::ferror(u.file) ? IO_BAD_RECORD : IO_END;
    while (c != EOF && c != '\n') {
      text.push_back(static_cast<char>(c));
      c = getc_unlocked(u.file);
    }
  }
  if (!text.empty() && text.back() == '\r') text.pop_back();
  ++u.lines_read;
  return IO_OK;
}

int check_formatted_write(Unit* u) {
  if (!u) return IO_BAD_UNIT;
  if (!u->open) return IO_NOT_OPEN;
  if (u->form != Form::Formatted) return IO_WRONG_FORM;
  if (u->mode != Mode::Write) return IO_WRONG_MODE;
  return IO_OK;
}

int check_formatted_read(Unit* u) {
  if (!u) return IO_BAD_UNIT;
  if (!u->open) return IO_NOT_OPEN;
  if (u->form != Form::Formatted) return IO_WRONG_FORM;
  return IO_OK;
}

}  // namespace internal

using internal::Unit;

namespace {

constexpr mode_t NEW_FILE_PERMISSIONS = 0666;  // narrowed by the process's umask
// Creations tried when the name is made again between its removal and the
// creation (another program at work in the folder).
constexpr int CREATE_ATTEMPTS = 3;

// True for the kinds of entry a write makes anew: a file or a symbolic link.
bool replaceable(const struct stat& entry) { return S_ISREG(entry.st_mode) || S_ISLNK(entry.st_mode); }

// A new, empty file of that name, open to read and write; -1 with errno set
// when it cannot be had.
int open_anew(const std::string& name) {
  for (int attempt = 1; attempt <= CREATE_ATTEMPTS; ++attempt) {
    struct stat entry {};
    if (lstat(name.c_str(), &entry) == 0) {
      if (S_ISDIR(entry.st_mode)) {
        errno = EISDIR;
        return -1;
      }
      if (!replaceable(entry)) return ::open(name.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
      if (unlink(name.c_str()) != 0 && errno != ENOENT) {
        // A folder that keeps its names (no write permission): the file
        // itself is emptied, never one a link points to.
        return S_ISREG(entry.st_mode) ? ::open(name.c_str(), O_RDWR | O_TRUNC | O_NOFOLLOW | O_CLOEXEC) : -1;
      }
    }
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NEW_FILE_PERMISSIONS);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

std::FILE* open_stream(const std::string& name, Mode mode) {
  if (mode == Mode::Write) {
    const int fd = open_anew(name);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "w+b");
    if (!file) ::close(fd);
    return file;
  }
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file && mode == Mode::ReadCreate && errno == ENOENT) {
    // Only an absent file is created, never through a link; an existing
    // one is never truncated.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NEW_FILE_PERMISSIONS);
    if (fd >= 0) {
      ::close(fd);
      file = std::fopen(name.c_str(), "rb");
    }
  }
  return file;
}

}  // namespace

bool remove_file(std::string_view path) {
  const std::string name(path);
  if (name.find('\0') != std::string::npos) return false;
  struct stat entry {};
  if (lstat(name.c_str(), &entry) != 0) return errno == ENOENT;
  if (!replaceable(entry)) return true;
  return unlink(name.c_str()) == 0 || errno == ENOENT;
}

int open(int unit, std::string_view path, Mode mode, Form form, Buffering buffering) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  internal::close_locked(*u);
  const std::string name(path);
  // The system would take the name up to the NUL: another file.
  if (name.find('\0') != std::string::npos) return IO_OPEN_FAILED;
  std::FILE* file = open_stream(name, mode);
  if (!file) return IO_OPEN_FAILED;
  if (buffering == Buffering::Block) std::setvbuf(file, nullptr, _IOFBF, internal::BLOCK_BUFFER_BYTES);
  u->file = file;
  u->memory = false;
  u->data.clear();
  u->position = 0;
  u->open = true;
  u->mode = mode == Mode::Write ? Mode::Write : Mode::Read;
  u->form = form;
  u->buffering = buffering;
  u->path = name;
  u->lines_read = 0;
  u->bad_field.clear();
  return IO_OK;
}

int open_memory(int unit, std::string_view contents, Form form) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  internal::close_locked(*u);
  u->memory = true;
  u->data.assign(contents);
  u->position = 0;
  u->open = true;
  // A memory unit serves both directions: reads start at the front, writes append.
  u->mode = Mode::Write;
  u->form = form;
  u->buffering = Buffering::Line;
  u->path.clear();
  u->lines_read = 0;
  u->bad_field.clear();
  return IO_OK;
}

std::string memory_contents(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return {};
  std::lock_guard guard(u->lock);
  return u->memory ? u->data : std::string();
}

CaptureUnit::CaptureUnit(int unit) : memory_(std::make_unique<Unit>()) {
  // A nested capture would take the outer one's writes and, at its end,
  // leave the outer one unregistered: refused in every build.
  PILECAP_CHECK(internal::thread_capture.memory == nullptr, "one capture per thread at a time");
  memory_->open = true;
  memory_->memory = true;
  memory_->mode = Mode::Write;
  memory_->form = Form::Formatted;
  internal::thread_capture = {unit, memory_.get()};
  internal::live_captures.fetch_add(1, std::memory_order_relaxed);
}

CaptureUnit::~CaptureUnit() {
  // The capture is registered in its maker's thread-local slot: ended on
  // another thread it would leave that slot pointing at freed memory.
  PILECAP_CHECK(internal::thread_capture.memory == memory_.get(), "a capture is destroyed by the thread that made it");
  internal::thread_capture = {};
  internal::live_captures.fetch_sub(1, std::memory_order_relaxed);
}

std::string CaptureUnit::take() {
  std::lock_guard guard(memory_->lock);
  std::string text = std::move(memory_->data);
  if (memory_->line_open) text += memory_->line;
  memory_->data.clear();
  memory_->line.clear();
  memory_->line_open = false;
  return text;
}

int write_captured(int unit, std::string_view text) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_write(u)) return check;
  // The ended lines go to the stream in one piece, as the last of them would
  // end the unit's line: the same bytes as line by line, with one hand-over.
  const std::size_t last_end = text.rfind('\n');
  std::size_t rest = 0;
  if (last_end != std::string_view::npos) {
    u->line.append(text.substr(0, last_end));
    if (const int status = internal::finish_line(*u)) return status;
    rest = last_end + 1;
  }
  if (rest < text.size()) {
    u->line.append(text.substr(rest));
    u->line_open = true;
  }
  return IO_OK;
}

int close(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  return internal::close_locked(*u);
}

void close_all() {
  for (int unit = 0; unit <= MAX_UNIT; ++unit) close(unit);
}

bool is_open(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return false;
  std::lock_guard guard(u->lock);
  return u->open;
}

int rewind(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (!u->open) return IO_NOT_OPEN;
  if (u->form == Form::Formatted && u->line_open) internal::finish_line(*u);
  if (u->mode == Mode::Write && !u->memory && std::fflush(u->file) != 0) internal::note_write_failure(*u);
  if (!internal::seek(*u, 0)) return IO_BAD_RECORD;
  u->may_shrink = u->mode == Mode::Write && !u->memory;
  u->lines_read = 0;
  return IO_OK;
}

int backspace(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (!u->open) return IO_NOT_OPEN;
  if (u->form != Form::Unformatted) return IO_WRONG_FORM;
  if (!u->memory && std::fflush(u->file) != 0) {
    if (u->mode == Mode::Write) internal::note_write_failure(*u);
    return IO_WRITE_FAILED;
  }
  const long here = internal::tell(*u);
  if (here <= 0) return IO_OK;  // at the first record: nothing to step over
  char marker[internal::RECORD_MARKER_BYTES];
  const long trailer = here - static_cast<long>(internal::RECORD_MARKER_BYTES);
  if (!internal::seek(*u, trailer) || internal::get_bytes(*u, marker, sizeof marker) != sizeof marker) {
    return IO_BAD_RECORD;
  }
  const long length = static_cast<long>(internal::get_u32(marker));
  const long start = trailer - length - static_cast<long>(internal::RECORD_MARKER_BYTES);
  if (start < 0 || !internal::seek(*u, start)) return IO_BAD_RECORD;
  u->may_shrink = u->mode == Mode::Write && !u->memory;
  return IO_OK;
}

int flush(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (!u->open) return IO_NOT_OPEN;
  // A unit opened to read has nothing to hand over.
  if (u->memory || u->mode != Mode::Write || std::fflush(u->file) == 0) return IO_OK;
  internal::note_write_failure(*u);
  return IO_WRITE_FAILED;
}

bool first_write_failure(WriteFailure& failure) {
  internal::FailureRecord& record = internal::failure_record();
  std::lock_guard guard(record.lock);
  if (record.seen) failure = record.failure;
  return record.seen;
}

void clear_write_failure() {
  internal::FailureRecord& record = internal::failure_record();
  std::lock_guard guard(record.lock);
  record.seen = false;
  record.failure = WriteFailure{};
}

int append(int unit, std::string_view text) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_write(u)) return check;
  u->line.append(text);
  u->line_open = true;
  return IO_OK;
}

int end_line(int unit) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (const int check = internal::check_formatted_write(u)) return check;
  return internal::finish_line(*u);
}

// ------------------------------------------------------ unformatted records

int write_record_items(int unit, const Item* items, std::size_t count) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (!u->open) return IO_NOT_OPEN;
  if (u->form != Form::Unformatted) return IO_WRONG_FORM;
  if (u->mode != Mode::Write) return IO_WRONG_MODE;
  std::string& record = u->line;  // scratch: an unformatted unit has no text line
  record.assign(internal::RECORD_MARKER_BYTES, '\0');
  for (std::size_t k = 0; k < count; ++k) {
    const Item& item = items[k];
    if (item.kind == Item::Kind::Int) {
      char bytes[internal::INT_BYTES];
      internal::put_u32(bytes, static_cast<std::uint32_t>(static_cast<std::int32_t>(item.i)));
      record.append(bytes, sizeof bytes);
    } else if (item.kind == Item::Kind::Real) {
      std::uint64_t bits = 0;
      std::memcpy(&bits, &item.r, sizeof bits);
      char bytes[internal::REAL_BYTES];
      for (std::size_t b = 0; b < internal::REAL_BYTES; ++b) bytes[b] = static_cast<char>((bits >> (8 * b)) & 0xFFu);
      record.append(bytes, sizeof bytes);
    } else {
      record.append(item.s);
    }
  }
  const std::size_t length = record.size() - internal::RECORD_MARKER_BYTES;
  internal::put_u32(record.data(), static_cast<std::uint32_t>(length));
  char trailer[internal::RECORD_MARKER_BYTES];
  internal::put_u32(trailer, static_cast<std::uint32_t>(length));
  record.append(trailer, sizeof trailer);
  bool written = internal::put_bytes(*u, record.data(), record.size());
  written = written && internal::shrink_after_write(*u);
  record.clear();
  if (written && (u->memory || u->buffering != Buffering::Line || std::fflush(u->file) == 0)) return IO_OK;
  internal::note_write_failure(*u);
  return IO_WRITE_FAILED;
}

int read_record_targets(int unit, const Target* targets, std::size_t count) {
  Unit* u = internal::unit_at(unit);
  if (!u) return IO_BAD_UNIT;
  std::lock_guard guard(u->lock);
  if (!u->open) return IO_NOT_OPEN;
  if (u->form != Form::Unformatted) return IO_WRONG_FORM;
  if (!u->memory && u->mode == Mode::Write && std::fflush(u->file) != 0) {
    internal::note_write_failure(*u);
    return IO_WRITE_FAILED;
  }
  char marker[internal::RECORD_MARKER_BYTES];
  const std::size_t got = internal::get_bytes(*u, marker, sizeof marker);
  if (got == 0) return IO_END;
  if (got != sizeof marker) return IO_BAD_RECORD;
  const std::size_t length = internal::get_u32(marker);
  std::string& record = u->line;
  record.resize(length);
  if (internal::get_bytes(*u, record.data(), length) != length) return IO_BAD_RECORD;
  if (internal::get_bytes(*u, marker, sizeof marker) != sizeof marker || internal::get_u32(marker) != length) {
    return IO_BAD_RECORD;
  }
  std::size_t at = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const Target& target = targets[k];
    if (target.kind == Target::Kind::Int) {
      if (at + internal::INT_BYTES > length) return IO_BAD_RECORD;
      *static_cast<int*>(target.p) = static_cast<std::int32_t>(internal::get_u32(record.data() + at));
      at += internal::INT_BYTES;
    } else if (target.kind == Target::Kind::Real) {
      if (at + internal::REAL_BYTES > length) return IO_BAD_RECORD;
      std::uint64_t bits = 0;
      for (std::size_t b = 0; b < internal::REAL_BYTES; ++b) {
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(record[at + b])) << (8 * b);
      }
      std::memcpy(target.p, &bits, sizeof bits);
      at += internal::REAL_BYTES;
    } else {
      auto& text = *static_cast<std::string*>(target.p);
      const std::size_t want = target.length;
      if (at + want > length) return IO_BAD_RECORD;
      text.assign(record, at, want);
      at += want;
    }
  }
  record.clear();
  return IO_OK;
}

namespace detail {

std::vector<Item>& item_scratch() {
  thread_local std::vector<Item> items;
  return items;
}

std::vector<Target>& target_scratch() {
  thread_local std::vector<Target> targets;
  return targets;
}

}  // namespace detail

}  // namespace pilecap::fio
