// The three methods and a method with its settings, without the engine's headers: the option
// table's users (the window among them) need no more. run/run_method.h completes the types.
#pragma once

#include <cstdint>
#include <variant>

namespace hc {

struct SchcOptions;
struct CohcOptions;
struct SolveOptions;

// A method and its settings (the engine's option structs).
using MethodOptions = std::variant<SchcOptions, CohcOptions, SolveOptions>;

// Which method: the alternative of MethodOptions.
enum class MethodChoice : uint8_t { kSchc, kCohc, kSolve };

// "schc", "cohc", "solve": the method's command on the command line.
const char* methodCommand(MethodChoice method);

}  // namespace hc
