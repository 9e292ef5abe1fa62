// One-based arrays for the engine's tables.
// Indices are the engine's own: the first element is 1. Fixed two-index
// arrays are stored column by column (the first index varies fastest), so a
// column is contiguous. The run-time tables are indexed by pile (or set,
// curve) first and store each first-index entry contiguously (the last index
// varies fastest): a loop over piles on several threads then works on its
// own stretch of memory, and one pile's nodes sit together. Debug builds
// check every index and name the access site and the range; Release builds
// do no checking.
//   Array1<T, N>, Array2<T, R, C>        fixed size, inline storage
//   Table1<T>, Table2<T>, Table3<T>      sized at run time, zero-filled memory
//                                        from the operating system, so untouched
//                                        pages cost nothing until written
#pragma once

#include <sys/mman.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <source_location>
#include <type_traits>

namespace pilecap {

// Reports an index outside its table's range and aborts (Debug builds only).
[[noreturn]] inline void index_out_of_range(const char* table, int index, int low, int high,
                                            const std::source_location& where) {
  std::fprintf(stderr, "%s:%u: index %d of %s outside %d..%d\n", where.file_name(), static_cast<unsigned>(where.line()),
               index, table, low, high);
  std::fflush(stderr);
  std::abort();
}

#ifdef NDEBUG
#define PILECAP_INDEX_LOCATION
#define PILECAP_CHECK_INDEX(table, i, lo, hi) ((void)0)
#else
#define PILECAP_INDEX_LOCATION , std::source_location where = std::source_location::current()
#define PILECAP_CHECK_INDEX(table, i, lo, hi) \
  (((i) >= (lo) && (i) <= (hi)) ? (void)0 : ::pilecap::index_out_of_range(table, i, lo, hi, where))
#endif

// Fixed-size one-based vector: a(1) .. a(N).
template <class T, int N>
struct Array1 {
  static_assert(N > 0, "an array holds at least one element");
  std::array<T, N> data_{};

  T& operator()(int i PILECAP_INDEX_LOCATION) {
    PILECAP_CHECK_INDEX("Array1", i, 1, N);
    return data_[static_cast<std::size_t>(i - 1)];
  }
  const T& operator()(int i PILECAP_INDEX_LOCATION) const {
    PILECAP_CHECK_INDEX("Array1", i, 1, N);
    return data_[static_cast<std::size_t>(i - 1)];
  }
  static constexpr int size() { return N; }
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  T* begin() { return data_.data(); }
  T* end() { return data_.data() + N; }
  const T* begin() const { return data_.data(); }
  const T* end() const { return data_.data() + N; }
  void fill(const T& value) { data_.fill(value); }
};

// Fixed-size one-based matrix a(i, j), 1 <= i <= R, 1 <= j <= C, column by column.
template <class T, int R, int C>
struct Array2 {
  static_assert(R > 0 && C > 0, "an array holds at least one element");
  std::array<T, static_cast<std::size_t>(R) * C> data_{};

  T& operator()(int i, int j PILECAP_INDEX_LOCATION) {
    PILECAP_CHECK_INDEX("Array2 row", i, 1, R);
    PILECAP_CHECK_INDEX("Array2 column", j, 1, C);
    return data_[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(R) * (j - 1)];
  }
  const T& operator()(int i, int j PILECAP_INDEX_LOCATION) const {
    PILECAP_CHECK_INDEX("Array2 row", i, 1, R);
    PILECAP_CHECK_INDEX("Array2 column", j, 1, C);
    return data_[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(R) * (j - 1)];
  }
  static constexpr int rows() { return R; }
  static constexpr int columns() { return C; }
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  // Column j as contiguous storage of R elements.
  T* column(int j PILECAP_INDEX_LOCATION) {
    PILECAP_CHECK_INDEX("Array2 column", j, 1, C);
    return data_.data() + static_cast<std::size_t>(R) * (j - 1);
  }
  void fill(const T& value) { data_.fill(value); }
};

// Zeroed memory for a table, straight from the operating system: pages that
// are never written are never made resident, on the first run of a process
// and on every later one. Memory from calloc would be so only on the first
// run: once a run has released its tables, the allocator keeps their memory
// and zeroes it by hand for the next run, which makes every page resident
// (a host calling the engine again grew from 12 to 224 MiB). Builds with the
// address sanitizer take calloc, whose bounds the sanitizer guards.
inline void* zeroed_pages(std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
  return std::calloc(1, bytes);
#else
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
#endif
}
inline void release_pages(void* p, std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
  (void)bytes;
  std::free(p);
#else
  if (p != nullptr) ::munmap(p, bytes);
#endif
}

// Storage shared by the run-time sized tables: zeroed memory of its own, a
// name for messages, and release. Copying is not allowed: a table has one owner.
template <class T>
class TableStorage {
  static_assert(std::is_trivially_copyable_v<T>, "tables hold plain numbers");

 public:
  TableStorage() = default;
  TableStorage(const TableStorage&) = delete;
  TableStorage& operator=(const TableStorage&) = delete;
  ~TableStorage() { release(); }

  // Creates count zeroed elements; false (and nothing held) when the memory
  // cannot be had. Any earlier storage is released first.
  bool create(const char* name, std::size_t count) {
    release();
    name_ = name;
    bytes_ = (count == 0 ? 1 : count) * sizeof(T);
    data_ = static_cast<T*>(zeroed_pages(bytes_));
    count_ = data_ ? count : 0;
    if (data_ == nullptr) bytes_ = 0;
    return data_ != nullptr;
  }
  void release() {
    release_pages(data_, bytes_);
    data_ = nullptr;
    count_ = 0;
    bytes_ = 0;
  }
  bool created() const { return data_ != nullptr; }
  std::size_t count() const { return count_; }
  const char* name() const { return name_; }
  T* data() { return data_; }
  const T* data() const { return data_; }

 protected:
  T* data_ = nullptr;
  std::size_t count_ = 0;
  std::size_t bytes_ = 0;  // of the memory held
  const char* name_ = "table";
};

// Run-time sized one-based vector t(1) .. t(n).
template <class T>
class Table1 : public TableStorage<T> {
 public:
  bool create(const char* name, int n) {
    n_ = 0;
    if (n < 0 || !TableStorage<T>::create(name, static_cast<std::size_t>(n))) return false;
    n_ = n;
    return true;
  }
  void release() {
    TableStorage<T>::release();
    n_ = 0;
  }
  T& operator()(int i PILECAP_INDEX_LOCATION) {
    PILECAP_CHECK_INDEX(this->name_, i, 1, n_);
    return this->data_[i - 1];
  }
  const T& operator()(int i PILECAP_INDEX_LOCATION) const {
    PILECAP_CHECK_INDEX(this->name_, i, 1, n_);
    return this->data_[i - 1];
  }
  int size() const { return n_; }

 private:
  int n_ = 0;
};

// Run-time sized one-based matrix t(i, j), row by row (j fastest).
template <class T>
class Table2 : public TableStorage<T> {
 public:
  bool create(const char* name, int rows, int columns) {
    rows_ = columns_ = 0;
    if (rows < 0 || columns < 0) return false;
    if (!TableStorage<T>::create(name, static_cast<std::size_t>(rows) * columns)) return false;
    rows_ = rows;
    columns_ = columns;
    return true;
  }
  void release() {
    TableStorage<T>::release();
    rows_ = columns_ = 0;
  }
  T& operator()(int i, int j PILECAP_INDEX_LOCATION) {
    PILECAP_CHECK_INDEX(this->name_, i, 1, rows_);
    PILECAP_CHECK_INDEX(this->name_, j, 1, columns_);
    return this->data_[static_cast<std::size_t>(j - 1) + static_cast<std::size_t>(columns_) * (i - 1)];
  }
  const T& operator()(int i, int j PILECAP_INDEX_LOCATION) const {
    PILECAP_CHECK_INDEX(this->name_, i, 1, rows_);
    PILECAP_CHECK_INDEX(this->name_, j, 1, columns_);
    return this->data_[static_cast<std::size_t>(j - 1) + static_cast<std::size_t>(columns_) * (i - 1)];
  }
  int rows() const { return rows_; }
  int columns() const { return columns_; }
  // Elements between t(i, j) and t(i, j + 1) in memory.
  static constexpr std::ptrdiff_t column_step() { return 1; }

 private:
  int rows_ = 0;
  int columns_ = 0;
};

// Run-time sized one-based table t(i, j, k), last index fastest.
template <class T>
class Table3 : public TableStorage<T> {
 public:
  bool create(const char* name, int n1, int n2, int n3) {
    n1_ = n2_ = n3_ = 0;
    if (n1 < 0 || n2 < 0 || n3 < 0) return false;
    if (!TableStorage<T>::create(name, static_cast<std::size_t>(n1) * n2 * n3)) return false;
    n1_ = n1;
    n2_ = n2;
    n3_ = n3;
    return true;
  }
  void release() {
    TableStorage<T>::release();
    n1_ = n2_ = n3_ = 0;
  }
  T& operator()(int i, int j, int k PILECAP_INDEX_LOCATION) {
    PILECAP_CHECK_INDEX(this->name_, i, 1, n1_);
    PILECAP_CHECK_INDEX(this->name_, j, 1, n2_);
    PILECAP_CHECK_INDEX(this->name_, k, 1, n3_);
    return this->data_[offset(i, j, k)];
  }
  const T& operator()(int i, int j, int k PILECAP_INDEX_LOCATION) const {
    PILECAP_CHECK_INDEX(this->name_, i, 1, n1_);
    PILECAP_CHECK_INDEX(this->name_, j, 1, n2_);
    PILECAP_CHECK_INDEX(this->name_, k, 1, n3_);
    return this->data_[offset(i, j, k)];
  }

 private:
  std::size_t offset(int i, int j, int k) const {
    return static_cast<std::size_t>(k - 1) +
           static_cast<std::size_t>(n3_) * (static_cast<std::size_t>(j - 1) + static_cast<std::size_t>(n2_) * (i - 1));
  }
  int n1_ = 0;
  int n2_ = 0;
  int n3_ = 0;
};

}  // namespace pilecap
