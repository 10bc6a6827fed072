// The verbs of xbtool, one function each, in a file of its own. Each takes the
// arguments after the verb and returns the process exit code.
#pragma once

namespace qv::xbtool {

int VerbEval(int argc, char** argv);    // verb_eval.cpp
int VerbTable(const char* verb, int argc, char** argv);  // verb_table.cpp: dump create pack zap check
int VerbIndex(const char* verb, int argc, char** argv);  // verb_index.cpp: index order seek

}  // namespace qv::xbtool
