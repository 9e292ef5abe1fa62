// The pile section diameter lookup, which computes nothing yet: it returns 0.
namespace pilecap {

double SECTION_DIAMETER_AT(int& /*pile*/, int& /*set*/, double& /*x*/) { return 0.0; }

}  // namespace pilecap
