// Shared pieces of the deck writer: the counter of distinct values and the
// writers of the later sections.
#pragma once

#include "input_fixture.hpp"

namespace pilecap::testing {

// Distinct values for the fields that steer nothing.
struct Values {
  long long next_int = 11;
  double next_real = 0.5;
  long long i() { return next_int++; }
  double r() {
    next_real += 1.25;
    return next_real;
  }
};

using Items = std::vector<DeckItem>;

// Sections 9 (cross sections) and 10 to 22.
void write_cross_sections(const DeckSwitches& s, DeckWriter& d, Values& v);
void write_soil_and_curves(const DeckSwitches& s, DeckWriter& d, Values& v);

}  // namespace pilecap::testing
