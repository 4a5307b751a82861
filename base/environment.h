#pragma once

#include <optional>
#include <string>

// The process environment's value of `name`, whatever its length; a variable set to the empty
// text is defined and empty. Nothing when it is not defined, or for a name with '=' (the hidden
// "=C:" entries are no user's variables).
std::optional<std::string> environmentVariable(const std::string& name);
