#include "io/dimacs_cnf_format.h"

namespace hc {

std::string formatDimacsCnf(int32_t variables, std::span<const CnfClause> clauses) {
  std::string text = "p cnf " + std::to_string(variables) + " " + std::to_string(clauses.size()) + "\n";
  for (const CnfClause& clause : clauses) {
    text += std::to_string(clause[0]) + " " + std::to_string(clause[1]) + " " + std::to_string(clause[2]) +
            " 0\n";
  }
  return text;
}

FileStatus writeDimacsCnfFile(const std::string& path, int32_t variables,
                              std::span<const CnfClause> clauses) {
  return writeFileAtomically(path, formatDimacsCnf(variables, clauses));
}

}  // namespace hc
