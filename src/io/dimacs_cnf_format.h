// DIMACS CNF, the form in which a 3-SAT formula is stored so that any SAT solver can check
// it: "p cnf VARIABLES CLAUSES", then one clause per line, its literals (+v or -v) ended by
// 0. The formula itself and its reader live with the reduction (generators/logical_formula.h);
// this side writes the file.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "io/file_access.h"

namespace hc {

using CnfClause = std::array<int32_t, 3>;

// "p cnf n m", then "a b c 0" per clause.
std::string formatDimacsCnf(int32_t variables, std::span<const CnfClause> clauses);
// Writes formatDimacsCnf through a temporary file and a rename.
FileStatus writeDimacsCnfFile(const std::string& path, int32_t variables, std::span<const CnfClause> clauses);

}  // namespace hc
