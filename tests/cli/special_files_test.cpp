// Input that is not an ordinary file, or bytes that cannot be shown: refused or quoted in
// one line of plain characters, exit status 1, for every reader and for verify's cycle file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli_runner.h"

namespace hc {
namespace {

using namespace hc::testing;

TEST(CliSpecialFiles, RefusedOrQuotedInOneLine) {
  ScratchFolder scratch;
  const std::string petersen = example("petersen.txt");
  ASSERT_EQ(mkfifo((scratch / "pipe.txt").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", scratch / "zero.g");
  std::filesystem::create_symlink("/dev/urandom", scratch / "random.hcp");
  std::filesystem::create_symlink("/dev/zero", scratch / "zero.tour");
  std::ofstream(scratch / "huge.obj").close();
  std::filesystem::resize_file(scratch / "huge.obj", (uint64_t{1} << 30) + 1);  // sparse
  // A drawing whose first class name holds a newline (same length, so only the name is bad).
  std::string drawing = slurp(example("petersen.g"));
  ASSERT_NE(drawing.find("Graph2DNode"), std::string::npos);
  drawing.replace(drawing.find("Graph2DNode"), 11, "Graph2\nNode");
  const std::pair<std::vector<std::string>, const char*> cases[] = {  // arguments, what the error says
      {{"info", scratch / "pipe.txt"}, "not a regular file"},
      {{"info", scratch / "zero.g"}, "not a regular file"},
      {{"schc", scratch / "random.hcp"}, "not a regular file"},
      {{"verify", petersen, scratch / "zero.tour"}, "not a regular file"},
      {{"verify", petersen, scratch / "pipe.txt"}, "not a regular file"},
      {{"info", scratch / "huge.obj"}, "more than the input limit of 1073741824 bytes"},
      {{"info", writeFile(scratch / "name.g", drawing)}, "unknown class \"Graph2\\x0ANode\""},
      {{"info", writeFile(scratch / "nul.hcp", std::string("TYPE : H\0\x1b[2J\nDIMENSION : 3\n", 28))}, "TYPE is \"H\\x00\\x1B[2J\""},
      {{"verify", petersen, writeFile(scratch / "c.tour", "TOUR_SECTION\n1\n\x07x2\n-1\n")}, "\"\\x07x2\" is not a node number"},
  };
  for (const auto& [args, says] : cases) {
    CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, 1) << args.back() << run.err;
    EXPECT_NE((run.err + run.out).find(says), std::string::npos) << run.err << run.out;
    EXPECT_EQ(run.errLines(), 1) << run.err;
    for (char ch : run.err) EXPECT_TRUE(ch == '\n' || (ch >= 0x20 && ch < 0x7F)) << run.err;
  }
}

}  // namespace
}  // namespace hc
