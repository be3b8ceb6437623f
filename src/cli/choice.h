// An option whose value is one of a few names, each standing for a value of the code.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <utility>
#include <vector>

namespace tessik {

// The names an option accepts, in the order its messages list them, with what each stands for.
template <class T>
using Choices = std::vector<std::pair<std::string, T>>;

// For CLI::Option::transform: a value other than choices' names (compared without regard to
// letter case) is refused with "VALUE not in {NAME,...}", and the help shows the names; a name is
// turned into what it stands for (an enumeration as its number, which CLI11 converts back).
// CLI::CheckedTransformer alone would also accept those numbers and list them.
template <class T>
CLI::Validator OneOf(const Choices<T>& choices) {
  // The check puts the name in the form choices hold, so the transform needs no filter.
  return CLI::IsMember(choices, CLI::ignore_case) & CLI::Transformer(choices).description("");
}

// For CLI::Option::transform: one of names, without regard to letter case, given on as written
// in names.
inline CLI::Validator OneOfNames(const std::vector<std::string>& names) {
  return CLI::IsMember(names, CLI::ignore_case);
}

}  // namespace tessik
