// A whole input file written from DeckSwitches, section by section in file
// order with the presence conditions of each line. Counts and switches are
// chosen here; every other stored value comes from a counter, so no two
// stored values are alike.
#include "input_deck.hpp"

#include "input/input.hpp"
#include "model/model_store.hpp"

namespace pilecap::testing {

namespace {

constexpr int FLAGS = 25;

void section_1(const DeckSwitches& s, DeckWriter& d, Values& v) {
  const int opt = s.optional_sections ? 1 : 0;
  // With reduction factors the spacing option is 0 or 1.
  d.header(1);
  d.read({I(s.units, FIELD(RunOptions.units)),
          I(s.dimension, FIELD(RunOptions.dimension)),
          I(s.cap_passive_option, FIELD(RunOptions.cap_passive_option)),
          I(s.cap_model, FIELD(RunOptions.cap_model)),
          I(opt, FIELD(RunOptions.user_py_curves)),
          I(opt, FIELD(RunOptions.user_axial_curves)),
          I(opt, FIELD(RunOptions.user_torsion_curves)),
          I(s.pmult_method, FIELD(RunOptions.pmult_method)),
          I(v.i(), FIELD(MomentCurvatureSet.n_sets)),
          I(s.nonsymmetric_ei, FIELD(RunOptions.nonsymmetric_ei)),
          I(v.i(), FIELD(RunOptions.axial_factor_column)),
          I(opt, FIELD(RunOptions.print_py_curves)),
          I(v.i()),
          I(s.pmult_method != 0 ? 1 : v.i(), FIELD(RunOptions.spacing_diameter_option)),
          I(v.i(), FIELD(RunOptions.adjust_batter_depth)),
          I(v.i(), FIELD(RunOptions.layering_correction)),
          I(v.i(), FIELD(RunOptions.layering_same_code_skip)),
          I(v.i(), FIELD(RunOptions.generate_axial_curves)),
          I(v.i(), FIELD(RunOptions.extend_curve_interpolation)),
          I(s.force_unit, FIELD(RunOptions.force_unit)),
          I(opt, FIELD(RunOptions.depth_reduction)),
          I(opt, FIELD(RunOptions.soil_movement_profile)),
          I(opt, FIELD(RunOptions.plot_export)),
          I(s.export_unformatted, FIELD(RunOptions.export_unformatted))});
  if (s.pmult_method == 3 || s.pmult_method == 4) {
    d.read(
        {kept(R(-v.r(), FIELD(RunOptions.pmult_direction(1)))), kept(R(v.r(), FIELD(RunOptions.pmult_direction(2))))});
  } else {
    d.expect("RunOptions.pmult_direction(1)", "1", [] { return field_text(RunOptions.pmult_direction(1)); });
    d.expect("RunOptions.pmult_direction(2)", "1", [] { return field_text(RunOptions.pmult_direction(2)); });
  }
}

void section_2(const DeckSwitches& s, DeckWriter& d, Values& v) {
  d.header(2);
  d.read({R(v.r(), FIELD(CapGeometry.length_yy)), R(v.r(), FIELD(CapGeometry.width_zz)),
          R(v.r(), FIELD(CapGeometry.thickness_xx)), R(v.r(), FIELD(CapGeometry.eq_diameter)), R(v.r()),
          I(s.optional_sections ? 1 : 0)});
  if (s.optional_sections) {
    // Lines that are read and dropped: two groups of 2 and 1 values.
    d.read({I(2)});
    d.read({I(2)});
    d.read({R(v.r())});
    d.read({R(v.r())});
    d.read({I(1)});
    d.read({R(v.r())});
  }
  auto* p = &CapPassiveElement;
  // The element's method (1) with a count of increments it has room for.
  if (s.cap_passive_option == 2) {
    d.read({I(1, FIELD(p->method)), kept(I(v.i(), FIELD(p->increments)))});
  } else if (s.cap_passive_option >= 3) {
    d.read({I(1, FIELD(p->method)), I(v.i(), FIELD(p->soil_model)), kept(I(v.i(), FIELD(p->increments))),
            R(v.r(), FIELD(p->K50)), R(v.r(), FIELD(p->F_ULT)), R(v.r(), FIELD(p->Y_MAX))});
  } else {
    d.expect("CapPassiveElement.method", "0", [] { return field_text(CapPassiveElement.method); });
    d.expect("CapPassiveElement.increments", "2", [] { return field_text(CapPassiveElement.increments); });
  }
  if (s.cap_model > 0) {
    auto* c = &CapPlateInput;
    d.read({R(v.r(), FIELD(c->center_x)), R(v.r(), FIELD(c->center_y)), I(v.i(), FIELD(c->divisions_1)),
            I(v.i(), FIELD(c->divisions_2)), R(v.r(), FIELD(c->young_modulus)),
            R(0.5 / v.r(), FIELD(c->poisson_ratio))});
  }
}

// Twelve ones, then distinct values: runs for r*c and values that show a shift.
template <class Getter>
void flag_line(DeckWriter& d, Values& v, Getter field, const std::string& name) {
  Items items;
  for (int k = 1; k <= FLAGS; ++k) {
    const long long value = k <= 12 ? 1 : v.i();
    items.push_back(I(value, name + "(" + std::to_string(k) + ")", [field, k] { return field_text(field(k)); }));
  }
  d.read(items);
}

template <class Table>
void control_lines(DeckWriter& d, Values& v, Table* t, int i, const std::string& what) {
  d.read({I(v.i()), I(v.i()), I(v.i(), FIELD(t->threads(i))), I(v.i(), FIELD(t->loading_kind(i))),
          I(v.i(), FIELD(t->cycles(i))), I(v.i(), FIELD(t->max_iterations(i))),
          I(v.i(), FIELD(t->llp_max_iterations(i)))});
  // The first step is a fraction of the load, the minimum step below it, as
  // the reader requires.
  const double initial_step = 1.0 / v.r();
  d.read({R(v.r(), FIELD(t->tolerance(i))), R(v.r(), FIELD(t->llp_tolerance(i))),
          R(initial_step, FIELD(t->initial_step(i))), R(initial_step / 4, FIELD(t->min_step(i)))});
  d.mark(what + " " + std::to_string(i) + " steps");
  const std::string name = what + " " + std::to_string(i) + " NAMED  WITH BLANKS";
  d.text_line(name);
  d.expect(what + " name", std::string(name).append(80 - name.size(), ' '), [t, i] { return t->name(i); });
}

void assignment_line(DeckWriter& d, Values& v, LoadAssignmentTable* a, int i, int j, int n_piles, int set_z) {
  d.read({I(v.i(), FIELD(a->NL(i, j))), I(v.i(), FIELD(a->AXIS(i, j))), I(1, FIELD(a->INI_PILE(i, j))),
          I(n_piles, FIELD(a->END_PILE(i, j))), I(1, FIELD(a->INC_PILE(i, j))), I(1, FIELD(a->SET_Y(i, j))),
          R(v.r(), FIELD(a->FACTOR_Y(i, j))), I(set_z, FIELD(a->SET_Z(i, j))), R(v.r(), FIELD(a->FACTOR_Z(i, j)))});
}

void load_case(const DeckSwitches& s, DeckWriter& d, Values& v, int i) {
  auto* c = &LoadCase;
  const int point_flag = i == 1 && s.point_loads ? 1 : 0;
  control_lines(d, v, c, i, "CASE");
  d.read({I(v.i(), FIELD(c->load_type(i))), I(v.i(), FIELD(c->analysis_kind(i))),
          I(v.i(), FIELD(c->flexibility_report(i))), I(v.i(), FIELD(c->diagonal_only(i))), I(v.i()), I(v.i()),
          I(v.i(), FIELD(c->axial_as_head_load(i))), I(point_flag, FIELD(c->point_loads_flag(i)))});
  d.read({I(v.i(), FIELD(c->print_option(i))), I(v.i(), FIELD(c->node_step(i))), R(v.r(), FIELD(c->scale_factor(i))),
          I(v.i(), FIELD(c->use_max_limits(i))), R(v.r(), FIELD(c->max_dsp_limit(i))),
          R(v.r(), FIELD(c->max_rot_limit(i))), I(v.i(), FIELD(c->axial_variation(i))),
          I(v.i(), FIELD(c->not_analysed(i))), I(v.i(), FIELD(c->ei_previous(i))), I(1, FIELD(c->pushover(i))), I(3)});
  d.read({I(v.i())});
  flag_line(
      d, v, [i](int k) { return ResultColumnSelection.case_flags(i, k); }, "case_flags");
  const int n_loads = i == 1 ? 2 : 0;
  d.read({I(n_loads, FIELD(c->num_conc_loads(i)))});
  auto* f = &ConcentratedLoad;
  for (int j = 1; j <= n_loads; ++j) {
    d.read({R(v.r(), FIELD(f->force_x(i, j))), R(v.r(), FIELD(f->force_y(i, j))), R(v.r(), FIELD(f->moment_z(i, j))),
            R(v.r(), FIELD(f->force_z(i, j))), R(v.r(), FIELD(f->moment_y(i, j))), R(v.r(), FIELD(f->moment_x(i, j))),
            R(v.r(), FIELD(f->point_x(i, j))), R(v.r(), FIELD(f->point_y(i, j))), R(v.r(), FIELD(f->point_z(i, j)))});
  }
  const int set_z = s.dimension == 3 ? 2 : 0;
  d.read({I(n_loads, FIELD(c->num_dist_loads(i)))});
  for (int j = 1; j <= n_loads; ++j) {
    assignment_line(d, v, &LoadAssignment.distributed, i, j, s.n_piles, set_z);
    d.mark("distributed " + std::to_string(i) + " " + std::to_string(j));
  }
  const int n_points = i == 1 ? 3 : 0;
  d.read({I(n_points, FIELD(c->num_points(i)))});
  for (int k = 1; k <= n_points; ++k) d.read({R(v.r(), FIELD(c->point_factors(i, k)))});
  if (point_flag == 1) {
    auto* p = &SpecifiedDofData;
    Items flags, row_a, row_b, point;
    for (int k = 1; k <= INPUT_DOFS; ++k) {
      flags.push_back(I(k % 2, FIELD(p->flags(i, k))));
      row_a.push_back(R(v.r(), FIELD(p->row_a(i, k))));
      row_b.push_back(R(v.r(), FIELD(p->row_b(i, k))));
    }
    for (int k = 1; k <= POINT_COORDINATES; ++k) point.push_back(R(v.r(), FIELD(p->point(i, k))));
    for (const Items* line : {&flags, &row_a, &row_b, &point}) d.read(*line);
  }
  d.read({I(2, FIELD(c->count2(i)))});
  for (int k = 1; k <= 2; ++k) d.read({R(v.r(), FIELD(c->pushover_factors(i, k)))});
  Items dof;
  // Each flag switches its quantity: 0 grows with the load factor, 1 stays.
  for (int k = 1; k <= CASE_DOF_FLAGS; ++k) dof.push_back(I((i + k) % 2, FIELD(c->dof_flags(i, k))));
  d.read(dof);
  const int n_moves = i == 1 ? 1 : 0;
  d.read({I(n_moves, FIELD(c->num_soil_moves(i)))});
  for (int j = 1; j <= n_moves; ++j) {
    assignment_line(d, v, &LoadAssignment.soil_movement, i, j, s.n_piles, s.dimension == 3 ? 1 : 0);
  }
}

void load_combination(const DeckSwitches& s, DeckWriter& d, Values& v, int j) {
  auto* c = &LoadCombination;
  control_lines(d, v, c, j, "COMBINATION");
  d.read({R(v.r(), FIELD(c->load_scale(j, 1))), R(v.r(), FIELD(c->load_scale(j, 2))), I(5)});
  d.read({I(v.i(), FIELD(c->print_option(j))), I(v.i(), FIELD(c->node_step(j))), I(v.i(), FIELD(c->use_max_limits(j))),
          R(v.r(), FIELD(c->max_dsp_limit(j))), R(v.r(), FIELD(c->max_rot_limit(j))),
          I(v.i(), FIELD(c->axial_variation(j))), I(v.i(), FIELD(c->not_analysed(j))),
          I(v.i(), FIELD(c->ei_previous(j)))});
  d.read({I(v.i())});
  flag_line(
      d, v, [j](int k) { return ResultColumnSelection.combination_flags(j, k); }, "combination_flags");
  d.read({I(s.n_cases, FIELD(c->member_count(j)))});
  for (int m = 1; m <= s.n_cases; ++m) {
    d.read({I(s.n_cases + 1 - m, FIELD(c->member_case(j, m))), R(v.r(), FIELD(c->member_factor(j, m)))});
    d.mark("member " + std::to_string(j) + " " + std::to_string(m));
  }
}

void sections_3_and_4(const DeckSwitches& s, DeckWriter& d, Values& v) {
  d.header(3);
  d.read({I(s.n_cases, FIELD(LoadCase.count)), I(1, FIELD(EnvelopeOptions.cases.print_envelopes)),
          I(v.i(), FIELD(EnvelopeOptions.cases.print_option)), I(v.i(), FIELD(EnvelopeOptions.cases.node_step)),
          I(v.i())});
  flag_line(
      d, v, [](int k) { return ResultColumnSelection.case_envelope_flags(k); }, "case_envelope_flags");
  for (int i = 1; i <= s.n_cases; ++i) load_case(s, d, v, i);
  d.header(4);
  d.read({I(s.n_combinations, FIELD(LoadCombination.count)), I(0, FIELD(EnvelopeOptions.combinations.print_envelopes)),
          I(v.i(), FIELD(EnvelopeOptions.combinations.print_option)),
          I(v.i(), FIELD(EnvelopeOptions.combinations.node_step)), I(v.i())});
  for (int j = 1; j <= s.n_combinations; ++j) load_combination(s, d, v, j);
}

void load_sets(DeckWriter& d, Values& v, int section, LoadSetHalf* half, const std::vector<int>& points) {
  d.header(section);
  d.read({I(static_cast<int>(points.size()), FIELD(half->count))});
  for (int set = 1; set <= static_cast<int>(points.size()); ++set) {
    d.read({I(points[set - 1], FIELD(half->num_points(set)))});
    for (int p = 1; p <= points[set - 1]; ++p) {
      d.read({R(v.r(), FIELD(half->depth(set, p))), R(v.r(), FIELD(half->value(set, p)))});
    }
  }
}

Items table_row(Values& v, Table2<int>& t, int r, int first, int count, const std::string& name) {
  Items items;
  for (int k = first; k < first + count; ++k) {
    items.push_back(I(v.i(), name, [&t, r, k] { return field_text(t(r, k)); }));
  }
  return items;
}

Items table_row(Values& v, Table2<double>& t, int r, int first, int count, const std::string& name) {
  Items items;
  for (int k = first; k < first + count; ++k) {
    items.push_back(R(v.r(), name, [&t, r, k] { return field_text(t(r, k)); }));
  }
  return items;
}

constexpr int INCREMENTS_OF_SET = 7;  // times the set number

// The first n items of a pile's integers, its head connections, made 1, 2
// or 3 by the pile's number; its p-y set 0 unless the deck has user p-y
// curves (a set without them is refused).
constexpr std::size_t PY_SET_ITEM = 3;
Items with_connections(Items items, int r, int n, bool user_py_curves) {
  for (int k = 0; k < n; ++k) items[static_cast<std::size_t>(k)].i = (r + k) % 3 + 1;
  if (!user_py_curves) items[PY_SET_ITEM].i = 0;
  return items;
}

// The second line of reals of a 2D row, its batter (degrees) below a right angle.
constexpr std::size_t BATTER_ITEM = 2;
constexpr double BATTER_STEP = 10.0;
Items with_batter(Items items, int r) {
  items[BATTER_ITEM].r = BATTER_STEP * r;
  return items;
}

// The second line of reals of a 3D pile, its BETA (degrees) pointing the
// pile into the ground.
constexpr std::size_t BETA_ITEM = 4;
constexpr double BETA_BASE = 60.0;
Items with_beta(Items items, int r) {
  items[BETA_ITEM].r = BETA_BASE + 0.1 * r;
  return items;
}

void section_7_and_8(const DeckSwitches& s, DeckWriter& d, Values& v) {
  auto* a = &PileArrangementInput;
  d.header(7);
  if (s.dimension == 2) {
    d.read({I(s.n_piles, FIELD(a->n_rows_2d))});
    for (int r = 1; r <= s.n_piles; ++r) {
      // The head connection is 1, 2 or 3.
      d.read(with_connections(table_row(v, a->int_2d, r, 1, 7, "int_2d"), r, 1, s.optional_sections));
      d.read(table_row(v, a->real_2d, r, 1, 5, "real_2d"));
      d.read(with_batter(table_row(v, a->real_2d, r, 6, 4, "real_2d"), r));
    }
  } else {
    d.read({I(s.n_piles, FIELD(a->n_piles_3d))});
    for (int r = 1; r <= s.n_piles; ++r) {
      d.read(with_connections(table_row(v, a->int_3d, r, 1, 10, "int_3d"), r, 2, s.optional_sections));
      d.read(table_row(v, a->real_3d, r, 1, 7, "real_3d"));
      d.read(with_beta(table_row(v, a->real_3d, r, 8, 7, "real_3d"), r));
    }
  }
  auto* p = &PropertySetInput;
  d.header(8);
  d.read({I(2, FIELD(p->count))});
  for (int set = 1; set <= 2; ++set) {
    d.read({I(v.i(), FIELD(p->set_label(set))), I(set, FIELD(p->num_sections(set)))});
    // A pile has 1 to 200 increments.
    d.read({I(INCREMENTS_OF_SET * set, FIELD(p->increments(set))), R(v.r(), FIELD(p->length(set))),
            I(v.i(), FIELD(p->pile_type(set)))});
    for (int k = 1; k <= set; ++k) {
      d.read({R(v.r(), FIELD(p->from(set, k))), R(v.r(), FIELD(p->to(set, k))),
              I(v.i(), FIELD(p->cross_section(set, k)))});
    }
  }
}

}  // namespace

void write_deck(const DeckSwitches& s, DeckWriter& d) {
  Values v;
  d.text_line("TITLE OF THE RUN");
  d.expect("RunTitle", std::string("TITLE OF THE RUN").append(64, ' '), [] { return RunTitle.text; });
  d.text_line("SECOND TITLE, NOT USED");
  section_1(s, d, v);
  section_2(s, d, v);
  sections_3_and_4(s, d, v);
  load_sets(d, v, 5, &LoadSetTable.loads, {3, 1});
  load_sets(d, v, 6, &LoadSetTable.movements, {2});
  section_7_and_8(s, d, v);
  write_cross_sections(s, d, v);
  write_soil_and_curves(s, d, v);
}

}  // namespace pilecap::testing
