// The verbs of xbtool, one function each, in a file of its own. Each takes the
// arguments after the verb and returns the process exit code.
#pragma once

#include <string>

#include "platform/fs/env.h"

namespace qv::xbtool {

// A TABLE argument as a host path: Windows paths go through the drive map.
Result<std::string> ToolHostPath(fs::Env& env, const std::string& path);  // verb_table.cpp

int VerbEval(int argc, char** argv);    // verb_eval.cpp
int VerbTable(const char* verb, int argc, char** argv);  // verb_table.cpp: dump create pack zap check
int VerbIndex(const char* verb, int argc, char** argv);  // verb_index.cpp: index order seek

}  // namespace qv::xbtool
