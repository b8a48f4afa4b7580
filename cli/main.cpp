// Placeholder until the command-line front end lands.
#include <cstdio>
int main() {
  std::puts("hamcycles-cli: not built yet");
  return 1;
}
