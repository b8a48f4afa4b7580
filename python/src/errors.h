// The package's own exceptions, made once when the module loads: hamcycles.Error, and below
// it InputError (also a ValueError: a bad graph or parameter), InputTypeError (also a
// TypeError: an object of the wrong kind) and FileError (also an OSError). A caller may catch
// the package's errors apart from everything else, or as the built-in kinds they always were.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace hcpy {

struct ErrorTypes {
  PyObject* error = nullptr;
  PyObject* input = nullptr;
  PyObject* inputType = nullptr;
  PyObject* file = nullptr;
};

// Makes the types and adds them to `module` (once, when it loads).
void addErrorTypes(pybind11::module_& module);
const ErrorTypes& errorTypes();

// Raises `type` with `message` (as a C++ exception that pybind11 hands on to Python).
[[noreturn]] void raise(PyObject* type, const std::string& message);

}  // namespace hcpy
