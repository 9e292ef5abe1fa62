// The later sections of a generated input file: cross sections (one uniform
// elastic, one tapered elastic, one nonlinear with bars and strands), soil
// layers, the optional curve and request sections, moment-curvature input
// and the optional sections 20 to 22.
#include "input/input.hpp"
#include "input_deck.hpp"
#include "model/model_store.hpp"

namespace pilecap::testing {

namespace {

using Reals = CrossSectionRecord::Reals;

// The top value written, and the bottom value expected equal to it.
DeckItem top_and_bottom(DeckWriter& d, double value, const char* name, Reals& top, Reals& bottom, int c) {
  d.expect(std::string(name) + " bottom", field_text(value), [&bottom, c] { return field_text(bottom(c)); });
  return R(value, name, [&top, c] { return field_text(top(c)); });
}

void elastic_section(DeckWriter& d, Values& v, int c, bool tapered) {
  auto* x = &CrossSection;
  auto pair_of = [&](double value, const char* name, Reals& top, Reals& bottom) {
    return tapered ? R(value, name, [&top, c] { return field_text(top(c)); })
                   : top_and_bottom(d, value, name, top, bottom, c);
  };
  auto pair = [&](const char* name, Reals& top, Reals& bottom) { return pair_of(v.r(), name, top, bottom); };
  // A hollow section's void lies inside it, and its wall within the radius.
  const double diameter = v.r();
  d.read({pair_of(diameter, "diameter", x->diameter, x->diameter_bottom),
          pair_of(diameter / 2, "inner_diameter", x->inner_diameter, x->inner_diameter_bottom),
          pair("width", x->width, x->width_bottom), pair("depth", x->depth, x->depth_bottom),
          pair("inner_width", x->inner_width, x->inner_width_bottom),
          pair("inner_depth", x->inner_depth, x->inner_depth_bottom),
          pair("flange_thickness", x->flange_thickness, x->flange_thickness_bottom),
          pair("web_thickness", x->web_thickness, x->web_thickness_bottom)});
  d.read({pair("shear_modulus", x->shear_modulus, x->shear_modulus_bottom), pair("area", x->area, x->area_bottom),
          pair("inertia_zz", x->inertia_zz, x->inertia_zz_bottom),
          pair("inertia_yy", x->inertia_yy, x->inertia_yy_bottom), R(v.r()), pair("gj", x->gj, x->gj_bottom),
          pair("mn_zz", x->mn_zz, x->mn_zz_bottom), pair("vn_zz", x->vn_zz, x->vn_zz_bottom),
          pair("modulus", x->modulus, x->modulus_bottom), R(v.r()),
          pair("perimeter", x->perimeter, x->perimeter_bottom), I(1, FIELD(x->moment_capacity_given(c))),
          pair("mn_yy", x->mn_yy, x->mn_yy_bottom), pair("vn_yy", x->vn_yy, x->vn_yy_bottom),
          I(tapered ? 1 : 0, FIELD(x->tapered(c)))});
  if (tapered) {
    const double diameter_bottom = v.r();
    d.read({R(diameter_bottom, FIELD(x->diameter_bottom(c))),
            R(diameter_bottom / 2, FIELD(x->inner_diameter_bottom(c))), R(v.r(), FIELD(x->width_bottom(c))),
            R(v.r(), FIELD(x->depth_bottom(c))), R(v.r(), FIELD(x->inner_width_bottom(c))),
            R(v.r(), FIELD(x->inner_depth_bottom(c))), R(v.r(), FIELD(x->flange_thickness_bottom(c))),
            R(v.r(), FIELD(x->web_thickness_bottom(c)))});
    d.read({R(v.r(), FIELD(x->shear_modulus_bottom(c))), R(v.r(), FIELD(x->area_bottom(c))),
            R(v.r(), FIELD(x->inertia_zz_bottom(c))), R(v.r(), FIELD(x->inertia_yy_bottom(c))), R(v.r()),
            R(v.r(), FIELD(x->gj_bottom(c))), R(v.r(), FIELD(x->mn_zz_bottom(c))), R(v.r(), FIELD(x->vn_zz_bottom(c))),
            R(v.r(), FIELD(x->modulus_bottom(c))), R(v.r()), R(v.r(), FIELD(x->perimeter_bottom(c))),
            R(v.r(), FIELD(x->mn_yy_bottom(c))), R(v.r(), FIELD(x->vn_yy_bottom(c)))});
  }
  d.read({I(v.i(), FIELD(x->aisc_family(c))), I(v.i()), R(diameter / 4, FIELD(x->wall_thickness(c))),
          I(v.i(), FIELD(x->aisc_round(c))), I(v.i()), I(v.i())});
  d.read({T("W14X89 AISC", FIELD(x->aisc_name(c)))});
}

void bar_lines(DeckWriter& d, Values& v, int c, int n, CrossSectionRecord::BarTable* a, CrossSectionRecord::BarTable* y,
               CrossSectionRecord::BarTable* z, CrossSectionRecord::BarTable* dd) {
  for (int b = 1; b <= n; ++b) {
    d.read({I(v.i()), R(v.r(), FIELD((*a)(c, b))), R(v.r(), FIELD((*y)(c, b))), R(v.r(), FIELD((*z)(c, b))),
            R(v.r(), FIELD((*dd)(c, b)))});
  }
}

void nonlinear_section(DeckWriter& d, Values& v, int c) {
  auto* x = &CrossSection;
  d.read({top_and_bottom(d, v.r(), "diameter", x->diameter, x->diameter_bottom, c),
          top_and_bottom(d, v.r(), "area", x->area, x->area_bottom, c),
          top_and_bottom(d, v.r(), "inertia_zz", x->inertia_zz, x->inertia_zz_bottom, c),
          top_and_bottom(d, v.r(), "inertia_yy", x->inertia_yy, x->inertia_yy_bottom, c),
          top_and_bottom(d, v.r(), "gj", x->gj, x->gj_bottom, c),
          top_and_bottom(d, v.r(), "mn_zz", x->mn_zz, x->mn_zz_bottom, c),
          top_and_bottom(d, v.r(), "vn_zz", x->vn_zz, x->vn_zz_bottom, c),
          top_and_bottom(d, v.r(), "modulus", x->modulus, x->modulus_bottom, c),
          top_and_bottom(d, v.r(), "perimeter", x->perimeter, x->perimeter_bottom, c),
          top_and_bottom(d, v.r(), "mn_yy", x->mn_yy, x->mn_yy_bottom, c),
          top_and_bottom(d, v.r(), "vn_yy", x->vn_yy, x->vn_yy_bottom, c)});
  d.read({I(v.i(), FIELD(x->type(c))), R(v.r(), FIELD(x->nl_width(c))), R(v.r(), FIELD(x->nl_depth(c))),
          R(v.r(), FIELD(x->nl_diameter(c))), R(v.r(), FIELD(x->void_diameter(c))),
          R(v.r(), FIELD(x->corner_chamfer(c))), R(v.r(), FIELD(x->nl_web_thickness(c))),
          R(v.r(), FIELD(x->nl_flange_thickness(c))), R(v.r(), FIELD(x->casing_diameter(c))),
          R(v.r(), FIELD(x->casing_thickness(c))), R(v.r(), FIELD(x->steel_diameter(c)))});
  d.read({R(v.r(), FIELD(x->steel_thickness(c))), R(v.r(), FIELD(x->concrete_fc(c))), R(v.r(), FIELD(x->casing_es(c))),
          R(v.r(), FIELD(x->casing_fy(c))), R(v.r(), FIELD(x->steel_es(c))), R(v.r(), FIELD(x->steel_fy(c))),
          I(v.i(), FIELD(x->embedded_steel(c))), I(v.i(), FIELD(x->h_section(c))),
          I(v.i(), FIELD(x->nl_aisc_family(c))), I(v.i())});
  d.read({T("HP12X53", FIELD(x->nl_aisc_name(c)))});
  d.read({I(v.i()), I(v.i(), FIELD(x->rebar_layout(c))), I(v.i()), I(v.i()), I(2, FIELD(x->rebar_count(c))),
          R(v.r(), FIELD(x->rebar_area(c))), R(v.r(), FIELD(x->rebar_diameter(c))), R(v.r(), FIELD(x->rebar_cover(c))),
          R(v.r(), FIELD(x->rebar_es(c))), R(v.r(), FIELD(x->rebar_fy(c))), I(v.i(), FIELD(x->confined(c)))});
  d.read({I(v.i(), FIELD(x->tie_type(c))), I(v.i()), I(v.i()), I(v.i(), FIELD(x->tie_count(c))),
          I(v.i(), FIELD(x->tie_legs_y(c))), I(v.i(), FIELD(x->tie_legs_z(c))), R(v.r(), FIELD(x->tie_area(c))),
          R(v.r(), FIELD(x->tie_diameter(c))), R(v.r(), FIELD(x->tie_spacing(c))), R(v.r(), FIELD(x->tie_fy(c)))});
  bar_lines(d, v, c, 2, &x->bar_a, &x->bar_y, &x->bar_z, &x->bar_d);
  d.read({I(v.i(), FIELD(x->strand_type(c))), I(v.i()), I(v.i(), FIELD(x->strand_layout(c))), I(v.i()),
          I(1, FIELD(x->strand_count(c))), R(v.r(), FIELD(x->strand_area(c))), R(v.r(), FIELD(x->strand_diameter(c))),
          R(v.r(), FIELD(x->strand_cover(c))), R(v.r(), FIELD(x->strand_fu(c))),
          R(v.r(), FIELD(x->prestress_after_losses(c)))});
  bar_lines(d, v, c, 1, &x->strand_a, &x->strand_y, &x->strand_z, &x->strand_d);
  d.read({I(2), I(v.i()), I(v.i()), R(v.r()), R(v.r())});
  d.read({R(v.r())});
  d.read({R(v.r())});
  d.read({I(v.i()), I(v.i()), I(v.i(), FIELD(x->mphi_set_zz(c))), I(v.i(), FIELD(x->mphi_set_yy(c))),
          I(v.i(), FIELD(x->nl_aisc_round(c))), I(v.i()), I(v.i()), I(v.i(), FIELD(x->strain_hardening(c))), R(v.r()),
          R(v.r(), FIELD(x->esh(c))), R(v.r(), FIELD(x->esu(c))), I(v.i()), R(v.r(), FIELD(x->fu_fy(c))),
          R(v.r(), FIELD(x->prestress_loss_fraction(c))), R(v.r(), FIELD(x->strand_es(c))),
          I(v.i(), FIELD(x->bilinear_mphi(c)))});
}

// One bending direction of a cross-section entry of section 18 or 19.
void section_curve_part(const DeckSwitches& s, DeckWriter& d, Values& v, SectionCurvePart* part,
                        SectionBilinearPart* bilinear, int e, int n_loads) {
  d.read({I(v.i(), FIELD(part->label(e))), I(n_loads, FIELD(part->num_axial_loads(e)))});
  const bool nonsymmetric = s.nonsymmetric_ei == 1;
  for (int a = 1; a <= n_loads; ++a) {
    d.read({R(v.r(), FIELD(part->axial_load(e, a)))});
    d.read({R(v.r())});
    if (bilinear) {
      if (nonsymmetric) d.read({R(v.r(), FIELD(bilinear->moment_0(e, a)))});
      d.read({I(v.i(), FIELD(bilinear->yield_index(e, a)))});
      if (nonsymmetric) d.read({I(v.i(), FIELD(bilinear->second_yield_index(e, a)))});
    } else if (nonsymmetric) {
      d.read({R(v.r())});
    }
    d.read({I(v.i()), I(2, FIELD(part->num_points(e, a)))});
    for (int k = 1; k <= 2; ++k) {
      d.read({R(v.r(), FIELD(part->moment(e, a, k))), R(v.r(), FIELD(part->curvature(e, a, k)))});
    }
  }
}

template <class Record, class Part>
void section_entries(const DeckSwitches& s, DeckWriter& d, Values& v, int section, Record* record, Part* zz_bilinear,
                     Part* yy_bilinear) {
  d.header(section);
  d.read({I(1, FIELD(record->count))});
  section_curve_part(s, d, v, &record->zz, zz_bilinear, 1, 3);
  if (s.dimension == 3) {
    section_curve_part(s, d, v, &record->yy, yy_bilinear, 1, 1);
  } else {
    d.expect("yy axial loads", "0", [record] { return field_text(record->yy.num_axial_loads(1)); });
  }
}

template <class Curves, class Table>
void user_curves(DeckWriter& d, Values& v, int section, Curves* curves, Table* first, Table* second, int points) {
  d.header(section);
  d.read({I(1, FIELD(curves->count))});
  d.read({I(v.i(), FIELD(curves->read_label(1))), I(points, FIELD(curves->read_point_count(1)))});
  d.mark("user curve " + std::to_string(section));
  for (int j = 1; j <= points; ++j) d.read({R(v.r(), FIELD((*first)(1, j))), R(-v.r(), FIELD((*second)(1, j)))});
}

void optional_curve_sections(DeckWriter& d, Values& v) {
  auto* r = &PyPrintRequest;
  d.header(11);
  d.read({I(2, FIELD(r->count))});
  for (int j = 1; j <= 2; ++j) {
    const int n = j == 1 ? 3 : 0;
    d.read({I(v.i(), FIELD(r->pile(j))), R(v.r(), FIELD(r->depth(j)))});
    d.read({I(n, FIELD(r->num_points(j)))});
    if (n > 0) d.read({R(v.r(), FIELD(r->y(j, 1))), R(v.r(), FIELD(r->y(j, 2))), R(v.r(), FIELD(r->y(j, 3)))});
  }
  auto* u = &UserPyCurveSet;
  d.header(12);
  d.read({I(1, FIELD(u->count))});
  d.read({I(v.i(), FIELD(u->set_label(1))), I(2, FIELD(u->read_num_curves(1)))});
  for (int c = 1; c <= 2; ++c) {
    d.read({R(v.r(), FIELD(u->read_depth(1, c)))});
    d.read({I(2, FIELD(u->read_num_points(1, c)))});
    d.mark("p-y curve points " + std::to_string(c));
    for (int k = 1; k <= 2; ++k) d.read({R(v.r(), FIELD(u->read_p(1, c, k))), R(v.r(), FIELD(u->read_y(1, c, k)))});
  }
}

}  // namespace

void write_cross_sections(const DeckSwitches&, DeckWriter& d, Values& v) {
  auto* x = &CrossSection;
  d.header(9);
  d.read({I(3, FIELD(x->count))});
  for (int c = 1; c <= 3; ++c) {
    const int nonlinear = c == 3 ? 1 : 0;
    d.read({I(v.i()), I(v.i()), I(v.i(), FIELD(x->shape(c))), I(nonlinear, FIELD(x->nonlinear(c)))});
    d.read({T("SECTION " + std::to_string(c), FIELD(x->name(c)))});
    if (nonlinear == 0) {
      elastic_section(d, v, c, c == 2);
    } else {
      nonlinear_section(d, v, c);
    }
  }
}

void write_soil_and_curves(const DeckSwitches& s, DeckWriter& d, Values& v) {
  auto* l = &SoilLayerInput;
  d.header(10);
  d.read({I(2, FIELD(l->count))});
  // The layers follow one another downward: each starts where the one above ends.
  double top = v.r();
  for (int layer = 1; layer <= 2; ++layer) {
    const int n_props = layer == 1 ? 9 : 0;
    d.read({I(v.i(), FIELD(l->layer_number(layer))), I(v.i(), FIELD(l->soil_code(layer)))});
    const double bottom = top + v.r();
    d.read({R(top, FIELD(l->top(layer))), R(bottom, FIELD(l->bottom(layer)))});
    top = bottom;
    d.read({I(2, FIELD(l->num_points(layer))), I(n_props, FIELD(l->num_props(layer)))});
    for (int p = 1; p <= 2; ++p) {
      if (n_props == 0) {
        d.text_line("LINE TAKEN, NOTHING READ");
        continue;
      }
      Items props;
      // The friction angle (property 3) below a right angle.
      for (int k = 1; k <= n_props; ++k) {
        props.push_back(R(k == 3 ? 100.0 / v.r() : v.r(), FIELD(l->props(layer)(k, p))));
      }
      d.read(props);
    }
  }
  if (s.optional_sections) optional_curve_sections(d, v);
  d.header(13);
  d.read({I(2, FIELD(GeneratedCurvePiles.ls_count))});
  for (int k = 1; k <= 2; ++k) d.read({I(v.i(), FIELD(GeneratedCurvePiles.ls_piles(k)))});
  if (s.dimension == 3) {
    d.header(14);
    d.read({I(1, FIELD(GeneratedCurvePiles.tr_count))});
    d.read({I(v.i(), FIELD(GeneratedCurvePiles.tr_piles(1)))});
  }
  if (s.optional_sections) {
    user_curves(d, v, 15, &UserLsCurve, &UserLsCurve.read_load, &UserLsCurve.read_movement, 3);
    user_curves(d, v, 16, &UserTrCurve, &UserTrCurve.read_torque, &UserTrCurve.read_rotation, 2);
  }
  auto* m = &MomentCurvatureInput;
  d.header(17);
  d.read({I(1, FIELD(MomentCurvatureSet.n_user_sets))});
  d.read({I(v.i(), FIELD(m->set_label(1))), I(1, FIELD(m->num_curves(1)))});
  d.read({R(v.r(), FIELD(m->axial_load(1, 1)))});
  d.read({kept(I(7)), kept(I(3, FIELD(m->num_points(1, 1))))});  // the second integer is the count
  for (int k = 1; k <= 3; ++k) d.read({R(v.r(), FIELD(m->moment(1, 1, k))), R(v.r(), FIELD(m->curvature(1, 1, k)))});
  section_entries<SectionCurveInputRecord, SectionBilinearPart>(s, d, v, 18, &SectionCurveInput, nullptr, nullptr);
  section_entries(s, d, v, 19, &SectionBilinearInput, &SectionBilinearInput.zz, &SectionBilinearInput.yy);
  if (!s.optional_sections) {
    d.expect("SoilMovementProfile.count", "0", [] { return field_text(SoilMovementProfile.count); });
    return;
  }
  auto* f = &DepthFactorTable;
  d.header(20);
  d.read({I(1, FIELD(f->count))});
  d.read({I(v.i(), FIELD(f->table_label(1))), I(2, FIELD(f->num_rows(1)))});
  for (int i = 1; i <= 2; ++i) {
    d.read({R(v.r(), FIELD(f->depth(1, i))), R(v.r(), FIELD(f->p_factor(1, i))), R(v.r(), FIELD(f->y_factor(1, i)))});
  }
  auto* p = &SoilMovementProfile;
  d.header(21);
  d.read({I(2, FIELD(p->count))});
  for (int k = 1; k <= 2; ++k) {
    const double move_y = v.r();
    const double move_z = -v.r();
    d.read({R(v.r(), FIELD(p->depth(k))), R(move_y, FIELD(p->move_y(k))), R(move_z, FIELD(p->move_z(k)))});
    d.expect("read_move_y", field_text(move_y), [k] { return field_text(SoilMovementProfile.read_move_y(k)); });
    d.expect("scaled_move_z", field_text(move_z), [k] { return field_text(SoilMovementProfile.scaled_move_z(k)); });
  }
  auto* e = &PyExportRequest;
  d.header(22);
  d.read({I(v.i(), FIELD(e->plot_nodes)), I(1, FIELD(e->deflection_list_flag)), I(1, FIELD(e->second_list_flag))});
  d.read({I(2, FIELD(e->num_deflections))});
  for (int k = 1; k <= 2; ++k) d.read({R(v.r(), FIELD(e->deflections(k)))});
  d.read({I(3)});
  for (int k = 1; k <= 3; ++k) d.read({R(v.r())});
}

}  // namespace pilecap::testing
