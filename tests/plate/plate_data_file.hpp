// Plate data files for the tests of the plate analysis: a description of
// every record block written out as the text the plate reader takes (free
// format, one record to a line), meshes of the plate fixture turned into
// such files, and a folder in which "gslab.dat" names the data file and the
// plate's outputs, with the outputs read back after a run.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/run_state.hpp"
#include "tests/plate/plate_fixture.hpp"

namespace pilecap::testing {

using Six = std::array<double, 6>;

struct PlateDataFile {
  struct Element {
    int number = 0, label = 0, material = 1;
    std::vector<int> nodes;
  };
  struct Node {
    int number = 0, label = 0;
    double x = 0.0, y = 0.0;
  };
  struct Restraint {
    int node = 0;
    std::array<int, 6> codes{};
    Six values{};
  };
  struct Material {
    int number = 1;
    double young = 1.0e7, poisson = 0.3, thickness = 0.1;
  };
  struct Numbered {
    int number = 0;
    Six values{};
  };
  struct Point {
    double x = 0.0, y = 0.0;
    Six values{};
  };
  struct Edge {
    int element = 0, side = 0, dof = 0;
    std::array<double, 3> values{};
  };

  std::string title = "TEST PLATE";
  int nnode = 8, ngaus = 2, pile_springs = 0;
  double dt = 1.0, tini = 0.0, tend = 1.0, dtmin = 0.1, tolerance = 0.001;
  int maxiter = 10;
  std::vector<Element> elements;
  std::vector<Node> nodes;
  std::vector<Restraint> restraints;
  std::vector<Material> materials{Material{}};
  std::vector<Numbered> nodal_loads, nodal_stiffnesses, distributed_loads, distributed_stiffnesses;
  std::vector<Point> concentrated_loads, concentrated_stiffnesses;
  std::vector<Edge> edge_loads, edge_stiffnesses;
  std::vector<std::array<double, 2>> piles;

  // The counts record as the blocks give it; NPOIN is the highest node number.
  std::array<int, 16> counts() const {
    int npoin = 0;
    for (const Node& n : nodes) npoin = std::max(npoin, n.number);
    auto size = [](const auto& v) { return static_cast<int>(v.size()); };
    return {npoin,
            size(elements),
            size(materials),
            nnode,
            ngaus,
            size(restraints),
            size(nodal_loads),
            size(nodal_stiffnesses),
            size(distributed_loads),
            size(distributed_stiffnesses),
            size(concentrated_loads),
            size(concentrated_stiffnesses),
            size(edge_loads),
            size(edge_stiffnesses),
            size(piles),
            pile_springs};
  }

  static std::string number(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
  }
  template <class Range>
  static std::string numbers(const Range& values) {
    std::string text;
    for (const auto& v : values) {
      text.push_back(' ');
      if constexpr (std::is_integral_v<std::decay_t<decltype(v)>>) {
        text.append(std::to_string(v));
      } else {
        text.append(number(v));
      }
    }
    return text;
  }

  // The file's text with the given counts record.
  std::string text(const std::array<int, 16>& count_record) const {
    std::ostringstream out;
    out << title << "\n" << numbers(count_record) << "\n";
    out << number(dt) << " " << number(tini) << " " << number(tend) << " " << number(dtmin) << " " << maxiter << " "
        << number(tolerance) << "\n";
    for (const Element& e : elements)
      out << e.number << " " << e.label << " " << e.material << numbers(e.nodes) << "\n";
    for (const Node& n : nodes) out << n.number << " " << n.label << " " << number(n.x) << " " << number(n.y) << "\n";
    for (const Restraint& r : restraints) out << r.node << numbers(r.codes) << numbers(r.values) << "\n";
    for (const Material& m : materials) {
      out << m.number << " " << number(m.young) << " " << number(m.poisson) << " " << number(m.thickness) << "\n";
    }
    for (const auto* block : {&nodal_loads, &nodal_stiffnesses, &distributed_loads, &distributed_stiffnesses}) {
      for (const Numbered& r : *block) out << r.number << numbers(r.values) << "\n";
    }
    for (const auto* block : {&concentrated_loads, &concentrated_stiffnesses}) {
      for (const Point& p : *block) out << number(p.x) << " " << number(p.y) << numbers(p.values) << "\n";
    }
    for (const auto* block : {&edge_loads, &edge_stiffnesses}) {
      for (const Edge& e : *block) out << e.element << " " << e.side << " " << e.dof << numbers(e.values) << "\n";
    }
    for (const auto& p : piles) out << number(p[0]) << " " << number(p[1]) << "\n";
    return out.str();
  }
  std::string text() const { return text(counts()); }
};

// The local order of an element's nodes when its numbering is turned by a
// quarter: node 1 at the second corner (xi then runs along the first
// element's eta).
inline std::vector<int> turned_by_a_quarter(const std::vector<int>& nodes) {
  std::vector<int> turned = nodes;
  for (int k = 0; k < 4; ++k) turned[k] = nodes[(k + 1) % 4];
  if (nodes.size() >= 8) {
    for (int k = 0; k < 4; ++k) turned[4 + k] = nodes[4 + (k + 1) % 4];
  }
  return turned;
}

// The plate data of a fixture mesh: its elements (in row order, node lists
// optionally turned), nodes (labels = numbers) and one material.
inline PlateDataFile data_file_of(const Mesh& mesh, bool turned = false) {
  const MeshPlan& plan = mesh.plan;
  PlateDataFile file;
  file.nnode = plan.nnode;
  file.ngaus = plan.ngaus;
  file.materials = {{1, plan.young, plan.poisson, plan.thickness}};
  int e = 0;
  for (int ey = 0; ey < plan.ny; ++ey) {
    for (int ex = 0; ex < plan.nx; ++ex) {
      ++e;
      const int x0 = 2 * ex;
      const int y0 = 2 * ey;
      const int places[9][2] = {{x0, y0},         {x0 + 2, y0},     {x0 + 2, y0 + 2}, {x0, y0 + 2},    {x0 + 1, y0},
                                {x0 + 2, y0 + 1}, {x0 + 1, y0 + 2}, {x0, y0 + 1},     {x0 + 1, y0 + 1}};
      std::vector<int> nodes;
      for (int p = 0; p < plan.nnode; ++p) nodes.push_back(mesh.node_at(places[p][0], places[p][1]));
      file.elements.push_back({e, e, 1, turned ? turned_by_a_quarter(nodes) : nodes});
    }
  }
  for (int n = 1; n <= mesh.n_nodes; ++n) file.nodes.push_back({n, n, mesh.x[n - 1], mesh.y[n - 1]});
  return file;
}

// A temporary folder holding "gslab.dat" and a plate data file; the test
// changes into it and back. run() runs the plate analysis there.
class PlateRunFolder {
 public:
  PlateRunFolder() {
    folder_ = std::filesystem::temp_directory_path() / ("pilecap_plate_run_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    write_names({"plot.txt", "deck.plate.dat", "deck.plate.lst", "deck.plate.steps", "deck.plate.log"});
  }
  ~PlateRunFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  static void write(const std::string& name, const std::string& text) { std::ofstream(name) << text; }
  static std::string read(const std::string& name) {
    std::ifstream file(name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  static void write_names(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    write(PLATE_NAMES_FILE, text);
  }
  // Runs the analysis of the data; returns the status.
  static int run(const std::string& data) {
    write("deck.plate.dat", data);
    int status = 0;
    RUN_PLATE_ANALYSIS(status);
    return status;
  }
  static std::string listing() { return read("deck.plate.lst"); }
  static std::string steps() { return read("deck.plate.steps"); }
  static std::string log() { return read("deck.plate.log"); }
  static std::string debug() { return read("deck.plate.dbg"); }

 private:
  std::filesystem::path folder_, previous_;
};

class PlateRunTest : public PlateTest {
 protected:
  void SetUp() override {
    PlateTest::SetUp();
    PlateDiagnoses = PlateDiagnosisRecord{};
    RunFiles = RunFilesRecord{};
  }
  void TearDown() override {
    RunFiles = RunFilesRecord{};
    PlateTest::TearDown();
  }
};

// The lines of a text.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The numbers of a line after its first `skip` characters.
inline std::vector<double> numbers_in(const std::string& line, std::size_t skip = 0) {
  std::vector<double> values;
  std::istringstream in(line.substr(std::min(skip, line.size())));
  for (double v; in >> v;) values.push_back(v);
  return values;
}

}  // namespace pilecap::testing
