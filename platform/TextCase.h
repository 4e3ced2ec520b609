// Case mapping of UTF-8 text by the toolkit's Unicode tables ("ŁÓDŹ" -> "łódź"), which the
// standard library lacks.
#pragma once

#include <string>

std::string ToLowerText(const std::string& text);
