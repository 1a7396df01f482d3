// The two exceptions that may cross a layer boundary: an index outside an internal array,
// and a fault in a stored form (an archive used the wrong way, or damaged input).
#pragma once

#include <stdexcept>
#include <string>

namespace plat {

class InvalidArgument : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace plat
