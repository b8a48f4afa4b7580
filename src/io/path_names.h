// The rules that read a path's file name and extension, and the one "-HC" naming rule.
//
// Only the file name counts: a folder with a dot in its name ("C:\my.graphs\k5") neither
// lends the file an extension nor receives the "-HC". Both separators, '/' and '\', end a
// folder name.
#pragma once

#include <string>

namespace hc {

// The file name after the last slash (or backslash).
std::string fileNameOf(const std::string& path);

// The extension by which formats are chosen: the text after the last "." of the file
// name, in lower case ("" when there is none; a name that starts with its only "." has no
// extension).
std::string fileExtension(const std::string& path);

// The Graph Editor's extension: the text after the last "." of the file name, as written
// (its file actions compare it exactly, so "K5.TXT" is neither "g" nor "txt").
std::string editorFileExtension(const std::string& path);

// The output file name of a graph read from `path`: "-HC" directly before the extension's
// "." ("graphs/k8.txt" -> "graphs/k8-HC.txt", "k5.v2.txt" -> "k5.v2-HC.txt"), appended
// when the file name has no extension.
std::string hamiltonianCycleFileName(const std::string& path);

}  // namespace hc
