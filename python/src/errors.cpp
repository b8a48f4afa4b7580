#include "errors.h"

namespace py = pybind11;

namespace hcpy {
namespace {

ErrorTypes types;

// A new exception type hamcycles.NAME with the given bases; the module keeps the reference.
PyObject* newType(py::module_& module, const char* name, const char* doc, py::tuple bases) {
  const std::string qualified = std::string("hamcycles.") + name;
  PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases.ptr(), nullptr);
  if (type == nullptr) throw py::error_already_set();
  module.add_object(name, py::reinterpret_borrow<py::object>(type));
  return type;
}

}  // namespace

void addErrorTypes(py::module_& module) {
  auto base = [](PyObject* type) { return py::reinterpret_borrow<py::object>(type); };
  types.error = newType(module, "Error", "Every error of the hamcycles package.",
                        py::make_tuple(base(PyExc_Exception)));
  types.input = newType(module, "InputError", "A bad graph or parameter (also a ValueError).",
                        py::make_tuple(base(types.error), base(PyExc_ValueError)));
  types.inputType = newType(module, "InputTypeError", "An object of the wrong kind (also a TypeError).",
                            py::make_tuple(base(types.error), base(PyExc_TypeError)));
  types.file = newType(module, "FileError", "A file that cannot be read or written (also an OSError).",
                       py::make_tuple(base(types.error), base(PyExc_OSError)));
}

const ErrorTypes& errorTypes() {
  return types;
}

void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw py::error_already_set();
}

}  // namespace hcpy
