// The stream's default floating-point format (%g, precision 6) for a whole
// number of any size given in decimal digits, rounded exactly: half to even,
// as printf rounds an exactly held value.
#pragma once

#include <string>
#include <string_view>

namespace quorvantile {

// `digits`: one or more decimal digits, nothing else. Below 1000000 the
// number comes back in plain digits; from there on in exponent form, e.g.
// "1.02879e+06".
std::string formatGeneral(std::string_view digits);

}  // namespace quorvantile
