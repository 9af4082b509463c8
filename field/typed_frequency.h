#pragma once
// A frequency typed outside the field (the command line, a link to the web page), read as the
// field would hold it: up to four integer digits, "," or "." and up to three decimals.
#include <string>

namespace hb9cv {

// The field's text for it, zeros in the unused places ("145,5" gives "0145,500"). Throws
// Exception, with the value as typed in its message, for a text the field could not hold.
std::string FieldTextOf(const std::string& typed);

// Its value; zero, which the window refuses too, throws Exception as well.
double ReadFrequency(const std::string& typed);

}  // namespace hb9cv
