// A progress callback every quarter second or a watcher thread per run would work too, but
// cost a thread per call, which is most of the time a small graph takes to decide.
#include "interrupt_guard.h"

#include <Python.h>
#include <pythread.h>

#include <atomic>

namespace hcpy {
namespace {

unsigned long mainThread = 0;
// The token of the run on the main thread now (runs nest when a progress callback starts
// one), and whether SIGINT came during it.
std::atomic<const hamcycles::StopToken*> currentRun{nullptr};
std::atomic<bool> interruptSeen{false};

extern "C" void onInterrupt(int) {
  interruptSeen.store(true);
  if (const hamcycles::StopToken* run = currentRun.load()) run->requestStop();
}

}  // namespace

void rememberMainThread() {
  // threading's main thread, not the importing one: a module may be imported from any thread.
  PyObject* threading = PyImport_ImportModule("threading");
  if (threading == nullptr) return;
  PyObject* main = PyObject_CallMethod(threading, "main_thread", nullptr);
  PyObject* ident = main != nullptr ? PyObject_GetAttrString(main, "ident") : nullptr;
  if (ident != nullptr) mainThread = PyLong_AsUnsignedLong(ident);
  Py_XDECREF(ident);
  Py_XDECREF(main);
  Py_DECREF(threading);
  PyErr_Clear();
}

InterruptGuard::InterruptGuard(const hamcycles::StopToken& run) {
  if (PyThread_get_thread_ident() != mainThread) return;
  struct sigaction current {};
  if (sigaction(SIGINT, nullptr, &current) != 0) return;
  const bool ours = current.sa_handler == onInterrupt;
  const bool python = (current.sa_flags & SA_SIGINFO) != 0 ||
                      (current.sa_handler != SIG_IGN && current.sa_handler != SIG_DFL);
  if (!ours && !python) return;
  active_ = true;
  previousRun_ = currentRun.exchange(&run);
  if (ours) return;  // a run inside a run's progress callback: the outer guard restores
  struct sigaction handler {};
  handler.sa_handler = onInterrupt;
  sigemptyset(&handler.sa_mask);
  handler.sa_flags = SA_ONSTACK;
  installed_ = sigaction(SIGINT, &handler, &saved_) == 0;
}

InterruptGuard::~InterruptGuard() {
  if (!active_) return;
  if (installed_) sigaction(SIGINT, &saved_, nullptr);
  currentRun.store(previousRun_);
  if (interruptSeen.exchange(false)) {
#if PY_VERSION_HEX >= 0x030A0000
    PyErr_SetInterruptEx(SIGINT);
#else
    PyErr_SetInterrupt();
#endif
  }
}

}  // namespace hcpy
