// A reader of the plot-data file written for the tests alone, without the
// engine's I/O layer: the formatted form by its fixed columns (3I10;
// I10,F10.4; 10X,6(1X,G15.8); I10,2(1X,G15.8)), the unformatted form by its
// 4-byte little-endian record markers, 4-byte integers and 8-byte IEEE
// doubles. Every record's size is checked against the layout it must have;
// the blocks are read in the file's order, each count telling what follows.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace pilecap::testing {

struct PlotPoint {
  int number = 0;
  double a = 0.0, b = 0.0;
};

struct PlotCurveNode {
  int number = 0;
  double x = 0.0;
  int flag = -1, count = -1, type = -1;  // type: p-y blocks only
  std::vector<PlotPoint> points;
};

struct PlotCurveBlock {
  int pile = 0, n_nodes = 0, kind = -1;
  std::vector<PlotCurveNode> nodes;
};

struct PlotGeometry {
  int pile = 0, m = 0, kind = -1;
  double length = 0.0;
  std::vector<double> head;
  std::vector<std::vector<double>> cosines;  // rows
  std::vector<int> node_numbers;
  std::vector<double> node_x;
  std::vector<std::vector<double>> sections;
};

struct PlotPile {
  PlotGeometry geometry;
  std::vector<PlotCurveBlock> curves;
};

struct PlotFile {
  int n_piles = 0, dimension = 0, units = 0;
  std::vector<PlotPile> piles;
  int records = 0;
  bool complete = false;  // every block the header announces, and nothing after
  std::string error;      // a damaged record; empty when the file ends cleanly
};

// The records of one file in either form.
class PlotRecords {
 public:
  PlotRecords(std::string bytes, bool unformatted) : bytes_(std::move(bytes)), unformatted_(unformatted) {}

  int records() const { return records_; }
  // Marks the record about to be read as out of place.
  bool fail(const std::string& what) {
    std::ostringstream text;
    text << "record " << records_ + 1 << " (byte " << at_ << "): " << what;
    error_ = text.str();
    return false;
  }
  bool at_end() const { return at_ >= bytes_.size(); }
  const std::string& error() const { return error_; }

  // Each read returns false at the end of the file or on a damaged record
  // (error() then says which).
  bool integers(int count, std::vector<int>& out) {
    out.assign(static_cast<std::size_t>(count), 0);
    if (unformatted_) {
      std::string data;
      if (!binary_record(4 * count, data)) return false;
      for (int k = 0; k < count; ++k) out[static_cast<std::size_t>(k)] = int32_at(data, 4 * k);
      return true;
    }
    std::string line;
    if (!text_record(10 * count, line)) return false;
    for (int k = 0; k < count; ++k) {
      if (!int_field(line.substr(static_cast<std::size_t>(10 * k), 10), out[static_cast<std::size_t>(k)])) return false;
    }
    return true;
  }

  bool node(int& number, double& x) {
    if (unformatted_) {
      std::string data;
      if (!binary_record(12, data)) return false;
      number = int32_at(data, 0);
      x = double_at(data, 4);
      return true;
    }
    std::string line;
    return text_record(20, line) && int_field(line.substr(0, 10), number) && real_field(line.substr(10, 10), x);
  }

  bool reals(int count, std::vector<double>& out) {
    out.assign(static_cast<std::size_t>(count), 0.0);
    if (unformatted_) {
      std::string data;
      if (!binary_record(8 * count, data)) return false;
      for (int k = 0; k < count; ++k) out[static_cast<std::size_t>(k)] = double_at(data, 8 * k);
      return true;
    }
    std::string line;
    if (!text_record(10 + 16 * count, line)) return false;
    if (line.substr(0, 10) != std::string(10, ' ')) return fail("a real record without its 10 leading blanks");
    for (int k = 0; k < count; ++k) {
      if (!real_field(line.substr(static_cast<std::size_t>(10 + 16 * k), 16), out[static_cast<std::size_t>(k)])) {
        return false;
      }
    }
    return true;
  }

  bool point(int& number, double& a, double& b) {
    if (unformatted_) {
      std::string data;
      if (!binary_record(20, data)) return false;
      number = int32_at(data, 0);
      a = double_at(data, 4);
      b = double_at(data, 12);
      return true;
    }
    std::string line;
    return text_record(42, line) && int_field(line.substr(0, 10), number) && real_field(line.substr(10, 16), a) &&
           real_field(line.substr(26, 16), b);
  }

 private:
  static std::uint32_t uint32_at(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(k)]);
    return v;
  }
  static int int32_at(const std::string& s, int at) {
    return static_cast<int>(static_cast<std::int32_t>(uint32_at(s, static_cast<std::size_t>(at))));
  }
  static double double_at(const std::string& s, int at) {
    const std::size_t base = static_cast<std::size_t>(at);
    const std::uint64_t bits =
        static_cast<std::uint64_t>(uint32_at(s, base)) | (static_cast<std::uint64_t>(uint32_at(s, base + 4)) << 32);
    double v = 0.0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }

  // One unformatted record of exactly `size` data bytes between its markers.
  bool binary_record(int size, std::string& data) {
    if (at_end()) return false;
    if (bytes_.size() - at_ < 4) return fail("a record marker cut short");
    const std::uint32_t lead = uint32_at(bytes_, at_);
    if (lead != static_cast<std::uint32_t>(size)) {
      return fail("record of " + std::to_string(lead) + " bytes where " + std::to_string(size) + " belong");
    }
    if (bytes_.size() - at_ < static_cast<std::size_t>(size) + 8) return fail("a record cut short");
    data = bytes_.substr(at_ + 4, static_cast<std::size_t>(size));
    if (uint32_at(bytes_, at_ + 4 + static_cast<std::size_t>(size)) != lead) return fail("markers that differ");
    at_ += static_cast<std::size_t>(size) + 8;
    ++records_;
    return true;
  }

  // One text line of exactly `width` characters, ended by a line feed.
  bool text_record(int width, std::string& line) {
    if (at_end()) return false;
    const std::size_t end = bytes_.find('\n', at_);
    if (end == std::string::npos) return fail("a last line without its line feed");
    line = bytes_.substr(at_, end - at_);
    if (line.size() != static_cast<std::size_t>(width)) {
      return fail("line of " + std::to_string(line.size()) + " columns where " + std::to_string(width) + " belong: '" +
                  line + "'");
    }
    at_ = end + 1;
    ++records_;
    return true;
  }

  bool int_field(const std::string& field, int& value) {
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos) return fail("an empty integer field");
    char* end = nullptr;
    const long v = std::strtol(field.c_str() + first, &end, 10);
    if (*end != '\0') return fail("integer field '" + field + "'");
    value = static_cast<int>(v);
    return true;
  }

  // A fixed, exponent or generalized field; an exponent of three digits
  // stands without its letter (0.12345+100).
  bool real_field(const std::string& field, double& value) {
    std::string text;
    for (char c : field) {
      if (c != ' ') text += c;
    }
    if (text.empty() || text.find('*') != std::string::npos) return fail("real field '" + field + "'");
    for (std::size_t k = 1; k < text.size(); ++k) {
      const bool sign = text[k] == '+' || text[k] == '-';
      if (sign && text[k - 1] != 'E' && text[k - 1] != 'e') {
        text.insert(k, "E");
        break;
      }
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (*end != '\0') return fail("real field '" + field + "'");
    return true;
  }

  std::string bytes_;
  bool unformatted_;
  std::size_t at_ = 0;
  int records_ = 0;
  std::string error_;
};

namespace plot_reader_detail {

inline bool read_geometry(PlotRecords& r, int dimension, PlotGeometry& g) {
  std::vector<int> ints;
  std::vector<double> values;
  if (!r.integers(3, ints)) return false;
  g.pile = ints[0];
  g.m = ints[1];
  g.kind = ints[2];
  if (g.kind != 0) return r.fail("geometry block of kind " + std::to_string(g.kind));
  if (!r.reals(1, values)) return false;
  g.length = values[0];
  const int n_axes = dimension == 3 ? 3 : 2;
  if (!r.reals(n_axes, g.head)) return false;
  for (int row = 0; row < n_axes; ++row) {
    if (!r.reals(n_axes, values)) return false;
    g.cosines.push_back(values);
  }
  for (int i = 1; i <= g.m; ++i) {
    int number = 0;
    double x = 0.0;
    if (!r.node(number, x) || !r.reals(dimension == 3 ? 6 : 4, values)) return false;
    g.node_numbers.push_back(number);
    g.node_x.push_back(x);
    g.sections.push_back(values);
  }
  return true;
}

inline bool read_curve_block(PlotRecords& r, PlotCurveBlock& block, int expected_kind) {
  std::vector<int> ints;
  if (!r.integers(3, ints)) return false;
  block.pile = ints[0];
  block.n_nodes = ints[1];
  block.kind = ints[2];
  if (block.kind != expected_kind) return r.fail("block of kind " + std::to_string(block.kind) + " out of its place");
  for (int k = 1; k <= block.n_nodes; ++k) {
    PlotCurveNode node;
    if (!r.node(node.number, node.x)) return false;
    block.nodes.push_back(node);
    PlotCurveNode& n = block.nodes.back();
    // The count record: (F, C, T) in a p-y block, (F, C) in the others.
    if (!r.integers(expected_kind == 1 ? 3 : 2, ints)) return false;
    n.flag = ints[0];
    n.count = ints[1];
    if (expected_kind == 1) n.type = ints[2];
    for (int j = 1; j <= n.count; ++j) {
      PlotPoint point;
      if (!r.point(point.number, point.a, point.b)) return false;
      n.points.push_back(point);
    }
  }
  return true;
}

}  // namespace plot_reader_detail

// Reads the whole file; stops at its end, at a damaged record, or at a block
// whose kind is not the one its place requires.
inline PlotFile read_plot_file(const std::string& bytes, bool unformatted) {
  PlotFile f;
  PlotRecords r(bytes, unformatted);
  std::vector<int> header;
  auto finish = [&](bool complete) {
    f.records = r.records();
    f.error = r.error();
    f.complete = complete && r.at_end() && f.error.empty();
    return f;
  };
  if (!r.integers(3, header)) return finish(false);
  f.n_piles = header[0];
  f.dimension = header[1];
  f.units = header[2];
  const int n_curve_blocks = f.dimension == 3 ? 3 : 2;
  for (int p = 1; p <= f.n_piles; ++p) {
    f.piles.emplace_back();
    PlotPile& pile = f.piles.back();
    if (!plot_reader_detail::read_geometry(r, f.dimension, pile.geometry)) return finish(false);
    for (int kind = 1; kind <= n_curve_blocks; ++kind) {
      pile.curves.emplace_back();
      if (!plot_reader_detail::read_curve_block(r, pile.curves.back(), kind)) return finish(false);
    }
  }
  return finish(true);
}

}  // namespace pilecap::testing
