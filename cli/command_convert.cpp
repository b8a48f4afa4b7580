// `convert IN OUT`: a graph file from any readable format into any writable one, chosen by
// the two extensions. A file of several graphs (.g6/.s6) converts into another such file
// graph by graph; into a one-graph format only when it holds a single graph. What OUT's format
// cannot hold (forced edges) is named in one warning line, or with --strict refused. "-" as IN
// or OUT is standard input or output in the --format format; graphs written to standard
// output go out line by line as they are read, and no report is printed there.
#include <iostream>

#include "commands.h"
#include "core/message_text.h"
#include "core/random.h"
#include "io/graph_file_reader.h"
#include "io/graph_format_registry.h"
#include "io/output_paths.h"

namespace hc::cli {

int runConvert(const ConvertOptions& options, const CommonOptions& common) {
  const GraphFormatInfo* to = graphFormatOfPath(options.output);
  if (to == nullptr || to->write == nullptr)
    return fail(options.output + ": cannot write this format (use " + writableExtensions() + ")");
  const bool toStdout = options.output == kStandardStreamPath;
  if (!toStdout && isSameFile(options.output, options.input))
    return fail(options.output + " is the input file itself; choose another file");
  if (std::string problem = toStdout ? std::string() : checkWritablePath("OUT", options.output);
      !problem.empty())
    return fail(problem);
  enableFixedSeed(1);  // nothing random is drawn, but a load is a reseed point all the same
  const FormatOptions formatOptions{options.base};

  GraphFileReader reader;
  if (std::string problem = reader.open(options.input); !problem.empty()) return fail(problem);
  std::string text = to->fileHeader;
  std::unique_ptr<Graph> single;
  std::string singleName;
  int64_t graphs = 0;
  bool warned = false;
  GraphRecord record;
  bool tooLong = false;
  while (reader.next(record, tooLong)) {
    if (tooLong) return fail(reader.tooLongError(record));
    LoadedGraph loaded = loadGraphRecord(record, formatOptions);
    if (!loaded) return fail(loaded.error);
    ++graphs;
    // Nothing is dropped silently: one warning for the whole file, or with --strict a refusal.
    if (std::string dropped = whatTheFormatDrops(*loaded.graph, *to); !dropped.empty() && !warned) {
      if (options.strict) return fail(options.output + ": " + dropped + " (--strict)");
      std::cerr << "hamcycles-cli: warning: " << printableText(record.where()) << ": " << dropped << "\n";
      warned = true;
    }
    if (to->severalGraphs) {
      std::string line;
      if (std::string problem = to->write(*loaded.graph, {}, formatOptions, line); !problem.empty())
        return fail(record.where() + ": " + problem);
      text += line;
      if (toStdout) {
        if (FileStatus written = writeStandardOutput(text); !written) return fail(written.error);
        text.clear();
      }
    } else if (graphs > 1) {
      return fail(options.input +
                  " holds several graphs; convert it to .g6 or .s6, or decide it with a batch");
    } else {
      singleName = graphDisplayName(loaded.description);
      single = std::move(loaded.graph);
    }
  }
  if (graphs == 0) return fail(options.input + ": no graph in the file");
  FileStatus written = single     ? writeGraphFile(options.output, *single, singleName, formatOptions)
                       : toStdout ? FileStatus{}
                                  : writeFileAtomically(options.output, text);
  if (!written) return fail(written.error);
  if (toStdout) return 0;
  if (common.json) {
    Json j;
    j["command"] = "convert";
    j["input"] = options.input;
    j["output"] = options.output;
    j["graphs"] = graphs;
    printJson(j);
  } else {
    std::cout << "Converted " << graphs << (graphs == 1 ? " graph" : " graphs") << " from " << options.input
              << " to " << options.output << "\n";
  }
  return 0;
}

}  // namespace hc::cli
