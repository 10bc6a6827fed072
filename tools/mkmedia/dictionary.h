// The rows of the field dictionary, generated from the file dictionary and
// the structures of a folder's tables, so that each field's heading and
// description has one home: its table's source. It lists what the rebuild
// command would list: for each file-dictionary row not of class "I", in
// order, the fields of that table when the folder holds it (names beginning
// with FILEDICT or DATADICT skipped).
#pragma once

#include <vector>

#include "platform/fs/status.h"
#include "table_source.h"

namespace qv::media {

// Fills the rows of every table of folder whose row source is generated.
// REQUIRES: "same" references resolved. NotFound when a generated table has
// no "filedict" beside it; InvalidArgument when a generated table lacks
// one of the dictionary fields or a value does not fit it.
Status GenerateDictionaries(std::vector<TableSource>* folder);

}  // namespace qv::media
